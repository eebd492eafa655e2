# 64-bit Windows: the same code, for running the Windows tests under 64-bit Wine on machines
# that cannot run 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
