# shellcheck shell=sh
# What every Wine prefix of the tests is made of; sourced by wine-harness.sh and the LAN tests.
# Quiet, and with no .NET installer to offer.
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree=

# wine_loader ARCH: the loader for a prefix of that width (win32 or win64), named by path:
# Debian's wine command falls back to the 64-bit loader when 32-bit Wine is not installed.
wine_loader() {
    if [ "$1" = win64 ]; then
        echo /usr/lib/wine/wine64
    else
        echo /usr/lib/wine/wine
    fi
}

# wine_starts ARCH: Wine of that width runs on this machine; 32-bit Wine needs its i386
# packages and the kernel's 32-bit emulation, and either may be missing.
wine_starts() {
    "$(wine_loader "$1")" --version >/dev/null 2>&1
}

# wine_prefix_prepare DISPLAY LOADER RUNNER...: makes the prefix that WINEPREFIX names and
# leaves a persistent wineserver running for it, every command run through RUNNER (the command
# that puts it into the test's namespaces, with WINEARCH set).
wine_prefix_prepare() {
    display=$1
    loader=$2
    shift 2
    # A persistent server keeps each program's start short.
    "$@" wineserver -p </dev/null
    # Without a display, no dialog can ask to install Wine's Gecko or Mono.
    "$@" env -u DISPLAY "$loader" wineboot -i </dev/null
    # Windows vanish at once without a window manager (otherwise about 2 s each on Xvfb).
    "$@" "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null
    # The desktop process that wineboot started has no display, and every later program would
    # share it and make no window at all; a new server and boot give it the test display.
    "$@" wineserver -k
    "$@" wineserver -w
    "$@" wineserver -p </dev/null
    "$@" env DISPLAY="$display" "$loader" wineboot </dev/null
}
