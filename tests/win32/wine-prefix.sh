# shellcheck shell=sh
# What every Wine prefix of the tests is made of; sourced by wine-harness.sh and the LAN tests.
# A 32-bit prefix, quiet, and with no .NET installer to offer. A machine whose kernel runs no
# 32-bit programs can still check a 64-bit build, in a prefix of WINEARCH=win64.
export WINEARCH="${WINEARCH:-win32}" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree=

# wine_prefix_prepare DISPLAY RUNNER...: makes the prefix WINEPREFIX names and leaves a
# persistent wineserver running for it, every command run through RUNNER (the command that
# puts it into the test's namespaces).
wine_prefix_prepare() {
    display=$1
    shift
    # A persistent server keeps each program's start short.
    "$@" wineserver -p </dev/null
    # Without a display, no dialog can ask to install Wine's Gecko or Mono.
    "$@" env -u DISPLAY wineboot -i </dev/null
    # Windows vanish at once without a window manager (otherwise about 2 s each on Xvfb).
    "$@" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null
    # The desktop process that wineboot started has no display, and every later program would
    # share it and make no window at all; a new server and boot give it the test display.
    "$@" wineserver -k
    "$@" wineserver -w
    "$@" wineserver -p </dev/null
    "$@" env DISPLAY="$display" wineboot </dev/null
}
