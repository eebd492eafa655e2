#!/bin/sh
# Runs the Windows test programs under Wine, in a 32-bit prefix made for the test run.
#
#   wine-harness.sh start STATE ARCH               make the prefix (win32 or win64), start Wine
#   wine-harness.sh run STATE PROGRAM [ARGUMENT...] run a program there (CTest's emulator)
#   wine-harness.sh stop STATE                     end Wine, remove the prefix
#
# STATE is a folder of the build that remembers the prefix (itself in a temporary folder)
# and the process that holds Wine's namespaces. Wine runs in network and mount namespaces of
# its own (tests/discovery/in-private-net.sh): wineserver makes the programs' sockets, so
# they live in its namespace and no packet leaves it; and the mount namespace gives the
# programs a 64 KB disk, drive S:, that a full-disk test may fill, and a display of their own:
# an Xvfb whose socket folder no other session on the machine sees.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
command=$1
state=$2
shift 2

. "$here/wine-prefix.sh"

loader() {
    wine_loader "$(cat "$state/arch")"
}

inside() {
    WINEARCH=$(cat "$state/arch") WINELOADER=$(loader) WINEPREFIX=$(cat "$state/prefix") \
        nsenter --target "$(cat "$state/holder")" --net --mount "$@"
}

stop() {
    [ -f "$state/holder" ] || return 0
    holder=$(cat "$state/holder")
    # Only the holder this harness started, not a process that took its number since.
    if [ "$(cat "/proc/$holder/comm" 2>/dev/null)" = sleep ]; then
        inside wineserver -k 2>/dev/null || true
        kill "$holder"
    fi
    xvfb=$(cat "$state/xvfb" 2>/dev/null || true)
    if [ -n "$xvfb" ] && [ "$(cat "/proc/$xvfb/comm" 2>/dev/null)" = Xvfb ]; then
        kill "$xvfb"
    fi
    rm -rf "$(cat "$state/prefix")"
    rm -f "$state/holder" "$state/prefix" "$state/xvfb" "$state/display" "$state/arch"
}

start() {
    arch=$1
    stop
    if [ "$arch" = win32 ] && ! wine_starts win32; then
        echo "wine-harness: 32-bit Wine does not start on this machine (wine32:i386 is not installed, or the" \
            "kernel's 32-bit emulation is off); the win64 preset runs the same tests under 64-bit Wine" >&2
        exit 1
    fi
    mkdir -p "$state"
    echo "$arch" >"$state/arch"
    prefix=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-wine.XXXXXX")
    echo "$prefix" >"$state/prefix"
    mkdir "$prefix/small-disk"
    # The display lives in the namespaces, where the programs can reach it: an X server's
    # abstract socket belongs to a network namespace, and a tmpfs on the socket folder keeps
    # the file socket from the rest of the machine. -noreset keeps it up while no program runs.
    setsid "$here/../discovery/in-private-net.sh" sh -c '
        mount -t tmpfs -o size=64k,mode=0777 tmpfs "$1/small-disk"
        mkdir -p /tmp/.X11-unix
        mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix
        Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$2/display" &
        echo $! >"$2/xvfb"
        echo $$ >"$2/holder.new"
        exec sleep infinity' sh "$prefix" "$state" </dev/null >/dev/null 2>&1 &
    tries=0
    until [ -s "$state/holder.new" ] && [ -s "$state/display" ]; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "wine-harness: the namespaces or their display did not come up (making them needs root)" >&2
            exit 1
        fi
        sleep 0.1
    done
    mv "$state/holder.new" "$state/holder"
    # Wine's server and services outlive this script, so they must not hold its output open,
    # which CTest waits on; what they say goes to a log, shown should the set-up fail.
    if ! wine_prefix_prepare ":$(cat "$state/display")" "$(loader)" inside >"$state/start.log" 2>&1; then
        cat "$state/start.log" >&2
        exit 1
    fi
    ln -s ../small-disk "$prefix/dosdevices/s:"
}

run() {
    if [ ! -f "$state/holder" ]; then
        echo "wine-harness: no prefix; run \"$0 start $state\" first" >&2
        exit 1
    fi
    # CTest sees the whole program as one test, so a case that skipped itself inside it is
    # named after the program's output, where the test's output shows it.
    seen=$(mktemp -d)
    trap 'rm -rf "$seen"' EXIT
    {
        status=0
        DISPLAY=:$(cat "$state/display") OSTREL_SMALL_DISK='S:\' inside "$(loader)" "$@" 2>&1 || status=$?
        echo "$status" >"$seen/status"
    } | tee "$seen/output"
    report_skipped "$(basename "$1")" <"$seen/output"
    return "$(cat "$seen/status")"
}

# Reads a GoogleTest program's output; names each case that skipped itself, and their count.
report_skipped() {
    skipped=$(tr -d '\r' | sed -n 's/^\[  SKIPPED \] \([^ ]*\) ([0-9]* ms)$/\1/p')
    [ -n "$skipped" ] || return 0
    echo "wine-harness: $(echo "$skipped" | wc -l) case(s) of $1 skipped:"
    echo "$skipped" | sed 's/^/wine-harness:   skipped /'
}

case $command in
start) start "$@" ;;
run) run "$@" ;;
stop) stop ;;
*)
    echo "usage: $0 start STATE win32|win64 | run STATE PROGRAM [ARGUMENT...] | stop STATE" >&2
    exit 2
    ;;
esac
