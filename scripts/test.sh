#!/usr/bin/env bash
# Sets up, checks formatting, builds and runs every test: unit, widget and end-to-end tests, the
# discovery tests under the sanitizers, the Windows build with its tests under Wine, and
# short fuzzing runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/check-format.sh

jobs=$(nproc)
cmake --preset debug
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs"

# The discovery tests and the sync gate's again under the sanitizers: name lookups abandoned at
# shutdown must touch nothing that has gone, and only a sanitizer sees it when one does.
cmake --preset asan
cmake --build --preset asan -j "$jobs" --target discovery_tests discovery_form1_tests ostrel_platform_common_tests
build/asan/tests/discovery/discovery_tests
build/asan/tests/discovery/discovery_form1_tests
build/asan/tests/platform/ostrel_platform_common_tests

# The 32-bit Windows build, Ostrel.exe as it ships: the Win32 backend, linked statically, with
# the core's unit tests and the Windows tests run under Wine. 32-bit Wine needs its i386
# packages and the kernel's 32-bit support; where either is missing, the same code is built for
# 64-bit Windows and its tests run under 64-bit Wine instead, and of the 32-bit build only
# Ostrel.exe is made.
cmake --preset win32
if (. tests/win32/wine-prefix.sh && wine_starts win32); then
    cmake --build --preset win32 -j "$jobs"
    ctest --preset win32 -j "$jobs"
else
    echo "test: 32-bit Wine does not run on this machine; the Windows tests run on the 64-bit build"
    cmake --build --preset win32 -j "$jobs" --target Ostrel
    cmake --preset win64
    cmake --build --preset win64 -j "$jobs"
    ctest --preset win64 -j "$jobs"
fi

# The fuzzers need the list and the discovery protocol alone: no toolkit is built for them.
cmake --preset fuzz
cmake --build --preset fuzz -j "$jobs"
scripts/fuzz.sh 20
