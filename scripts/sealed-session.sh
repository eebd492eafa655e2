# Sourced: helpers that run Ostrel sealed off from the machine. A private mount
# namespace puts a given folder in place of /var/lib (where the list file lives),
# an empty network namespace keeps the start-up broadcast in, and a private Xvfb
# gives it a display.
#
#   sealed_enter "$0" "$@"     re-runs the calling script inside the namespaces (once)
#   sealed_data_folder DIR     puts DIR in place of /var/lib
#   sealed_quiet_network       loopback up, and a veth pair whose ends both stay in the
#                              namespace, with the default route, so the broadcast is sent
#                              and lost inside it
#   sealed_start_xvfb          gives the namespace a folder of X sockets of its own, so other
#                              sessions on the machine can neither reach nor take this display,
#                              starts Xvfb and exports DISPLAY
#   sealed_wait_for_window     waits up to 30 s for Ostrel's main window to be shown and
#                              prints its window id

sealed_enter()
{
    if [[ ${SEALED_SESSION_INSIDE:-} != 1 ]]; then
        export SEALED_SESSION_INSIDE=1
        exec unshare --mount --net --propagation private "$@"
    fi
}

sealed_data_folder()
{
    mount --bind "$1" /var/lib
}

sealed_quiet_network()
{
    ip link set lo up
    ip link add sealed0 type veth peer name sealed1
    ip addr add 10.254.0.1/24 dev sealed0
    ip link set sealed0 up
    ip link set sealed1 up
    ip route add default dev sealed0
}

sealed_start_xvfb()
{
    # Only the socket folder: the rest of /tmp may hold the program and the caller's files.
    mkdir -p /tmp/.X11-unix
    mount -t tmpfs -o mode=1777 sealed-x11 /tmp/.X11-unix
    export QTWEBENGINE_DISABLE_SANDBOX=1
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    local displayFd display
    exec {displayFd}<> <(:)
    # -noreset: by default the server resets whenever its last client leaves, and refuses the
    # connections that come meanwhile; the helpers' own short X clients must not cost Ostrel its display.
    Xvfb -displayfd "$displayFd" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    SEALED_XVFB=$!
    read -r -t 10 -u "$displayFd" display
    export DISPLAY=":$display"
    trap 'kill "$SEALED_XVFB" 2>/dev/null' EXIT
}

sealed_wait_for_window()
{
    local deadline=$((SECONDS + 30)) window
    # Polls without a pause (a search costs a few milliseconds), so that the first window shown is the
    # one seen. A search fails when a window it walks goes away meanwhile (the web engine makes
    # short-lived ones); the next search sees the windows as they are.
    until window=$(xdotool search --onlyvisible --name '^Ostrel 4\.1\.1' 2>/dev/null); do
        ((SECONDS < deadline)) || return 1
    done
    echo "$window"
}
