#!/usr/bin/env bash
# The simulated LAN: a network namespace for Ostrel ("admin") and one for the
# agents, joined by a veth pair. The admin side has a default route into the
# pair, so the limited broadcast 255.255.255.255 reaches the agents and nothing
# else; each namespace gets its own hosts file (/etc/netns/NAME/hosts) that
# gives every agent address its computer name, and a resolv.conf that points
# at the agents' side, so no lookup leaves the LAN.
#
# Run:     scripts/testlan.sh run [--agents N] [--build DIR] [--xvfb]
#          makes the LAN, starts N simulated computers (default 5), runs Ostrel
#          on it on your display (under Xvfb without one), and removes
#          everything when Ostrel ends, also on failure, Ctrl+C or kill. Its
#          list file is kept in DIR/testlan-data, apart from the machine's.
# Source:  . scripts/testlan.sh; then testlan_up, testlan_add_computer,
#          testlan_start_agents, testlan_start_resolver, testlan_admin, testlan_start_xvfb,
#          testlan_down (put it in an EXIT trap), until_true. Names carry the caller's PID,
#          so tests may run side by side.
#
# Addresses: admin 10.77.0.1, agents' side 10.77.0.2, computers from 10.77.1.1 on.

testlan_up()
{
    TESTLAN_ID=${TESTLAN_ID:-$$}
    TESTLAN_ADMIN="ostrel${TESTLAN_ID}-admin"
    TESTLAN_AGENTS="ostrel${TESTLAN_ID}-agents"
    TESTLAN_ADMIN_ADDRESS=10.77.0.1
    TESTLAN_AGENTS_ADDRESS=10.77.0.2
    TESTLAN_PIDS=()
    TESTLAN_COMPUTERS=()
    TESTLAN_STARTED=0
    local vethAdmin="ov${TESTLAN_ID}a" vethAgents="ov${TESTLAN_ID}g"

    ip netns add "$TESTLAN_ADMIN"
    ip netns add "$TESTLAN_AGENTS"
    ip link add "$vethAdmin" netns "$TESTLAN_ADMIN" type veth peer name "$vethAgents" netns "$TESTLAN_AGENTS"
    ip -n "$TESTLAN_ADMIN" link set lo up
    ip -n "$TESTLAN_AGENTS" link set lo up
    ip -n "$TESTLAN_ADMIN" addr add "$TESTLAN_ADMIN_ADDRESS/16" dev "$vethAdmin"
    ip -n "$TESTLAN_AGENTS" addr add "$TESTLAN_AGENTS_ADDRESS/16" dev "$vethAgents"
    ip -n "$TESTLAN_ADMIN" link set "$vethAdmin" up
    ip -n "$TESTLAN_AGENTS" link set "$vethAgents" up
    # The limited broadcast follows the default route: into the pair, to the agents only.
    ip -n "$TESTLAN_ADMIN" route add default dev "$vethAdmin"
    ip -n "$TESTLAN_AGENTS" route add default dev "$vethAgents"
    TESTLAN_VETH_AGENTS=$vethAgents

    local ns
    for ns in "$TESTLAN_ADMIN" "$TESTLAN_AGENTS"; do
        mkdir -p "/etc/netns/$ns"
        printf '127.0.0.1\tlocalhost\n::1\tlocalhost\n' >"/etc/netns/$ns/hosts"
        # Nothing answers DNS on the agents' side unless a test starts a responder
        # there, so a lookup without a hosts entry fails at once.
        printf 'nameserver %s\noptions timeout:5 attempts:1\n' "$TESTLAN_AGENTS_ADDRESS" >"/etc/netns/$ns/resolv.conf"
    done
}

# testlan_add_computer NAME [ADDRESS] [--unnamed]: one simulated computer; its address
# (the next free one unless given) is added on the agents' side and, unless
# --unnamed, mapped to NAME in the admin hosts file. The address is left in
# TESTLAN_LAST_ADDRESS (not printed: a command substitution would lose the bookkeeping).
testlan_add_computer()
{
    local name=$1 address=${2:-} named=1
    [[ ${3:-} == --unnamed ]] && named=0
    if [[ -z $address ]]; then
        local n=$((${#TESTLAN_COMPUTERS[@]} + 1))
        address="10.77.$((1 + (n - 1) / 250)).$((1 + (n - 1) % 250))"
    fi
    ip -n "$TESTLAN_AGENTS" addr add "$address/32" dev "$TESTLAN_VETH_AGENTS"
    if ((named)); then
        printf '%s\t%s\n' "$address" "$name" >>"/etc/netns/$TESTLAN_ADMIN/hosts"
    fi
    TESTLAN_COMPUTERS+=("$address=$name")
    TESTLAN_LAST_ADDRESS=$address
}

# testlan_add_computers N [PREFIX]: N computers PREFIX1..PREFIXN (default PC), added in one go.
testlan_add_computers()
{
    local count=$1 prefix=${2:-PC} n last address batch="" hosts=""
    for ((n = ${#TESTLAN_COMPUTERS[@]} + 1, last = ${#TESTLAN_COMPUTERS[@]} + count; n <= last; n++)); do
        address="10.77.$((1 + (n - 1) / 250)).$((1 + (n - 1) % 250))"
        batch+="addr add $address/32 dev $TESTLAN_VETH_AGENTS"$'\n'
        hosts+="$address"$'\t'"$prefix$n"$'\n'
        TESTLAN_COMPUTERS+=("$address=$prefix$n")
    done
    ip -n "$TESTLAN_AGENTS" -batch - <<<"$batch"
    printf '%s' "$hosts" >>"/etc/netns/$TESTLAN_ADMIN/hosts"
}

# testlan_start_agents SIM [SIM options...]: one simulator for every computer added
# since the last call; waits until it answers. Several may run with different options
# (give each its own --web-port).
testlan_start_agents()
{
    local sim=$1 log
    shift
    local args=() computer
    for computer in "${TESTLAN_COMPUTERS[@]:${TESTLAN_STARTED:-0}}"; do
        args+=(--computer "$computer")
    done
    TESTLAN_STARTED=${#TESTLAN_COMPUTERS[@]}
    log=$(mktemp)
    ip netns exec "$TESTLAN_AGENTS" "$sim" "${args[@]}" "$@" >"$log" 2>&1 &
    TESTLAN_PIDS+=($!)
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        if grep -q ready "$log"; then
            rm -f "$log"
            return 0
        fi
        kill -0 "${TESTLAN_PIDS[-1]}" 2>/dev/null || break
        sleep 0.1
    done
    cat "$log" >&2
    rm -f "$log"
    echo "testlan: the simulated agents did not start" >&2
    return 1
}

# testlan_start_resolver DNS [DNS options...]: the DNS responder DNS (ostrel-slow-dns) on the
# agents' side, where the namespaces' resolv.conf points; waits until it listens.
testlan_start_resolver()
{
    local dns=$1 log
    shift
    log=$(mktemp)
    ip netns exec "$TESTLAN_AGENTS" "$dns" --listen "$TESTLAN_AGENTS_ADDRESS" "$@" >"$log" 2>&1 &
    TESTLAN_PIDS+=($!)
    if ! until_true 10 grep -q ready "$log"; then
        cat "$log" >&2
        rm -f "$log"
        echo "testlan: the DNS responder did not start" >&2
        return 1
    fi
    rm -f "$log"
}

# testlan_admin CMD...: runs CMD in Ostrel's namespace.
testlan_admin()
{
    ip netns exec "$TESTLAN_ADMIN" "$@"
}

# testlan_agents CMD...: runs CMD on the agents' side.
testlan_agents()
{
    ip netns exec "$TESTLAN_AGENTS" "$@"
}

# testlan_start_xvfb: an X server for the admin namespace; sets DISPLAY. -noreset:
# Xvfb otherwise resets when its last client leaves and refuses the next one meanwhile.
testlan_start_xvfb()
{
    local display
    for ((display = 90 + TESTLAN_ID % 400; ; display++)); do
        [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]] || break
    done
    ip netns exec "$TESTLAN_ADMIN" Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    TESTLAN_PIDS+=($!)
    export DISPLAY=":$display"
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        [[ -e /tmp/.X11-unix/X$display ]] && return 0
        sleep 0.1
    done
    echo "testlan: Xvfb did not start" >&2
    return 1
}

# testlan_ostrel DATA OSTREL [NAME=VALUE...]: runs Ostrel in the admin namespace in the
# background (its PID in TESTLAN_OSTREL_PID), with DATA standing in for /var/lib, so a test
# never touches the machine's own list file, and with the environment variables given.
testlan_ostrel()
{
    local data=$1 ostrel=$2
    shift 2
    mkdir -p "$data"
    ip netns exec "$TESTLAN_ADMIN" unshare -m sh -c '
        mount --make-rprivate / && mount --bind "$1" /var/lib && shift && exec "$@"' \
        sh "$data" env DISPLAY="$DISPLAY" "$@" "$ostrel" &
    TESTLAN_OSTREL_PID=$!
    TESTLAN_PIDS+=($!)
}

# testlan_running PID: a child that has ended but is not yet reaped still answers
# kill -0; this looks at its state.
testlan_running()
{
    [[ -e /proc/$1 ]] && [[ $(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) != Z ]]
}

# testlan_down: stops what was started and removes both namespaces (and with them
# the veth pair) and their /etc/netns folders. Safe to call twice or after a partial up.
testlan_down()
{
    local pid ns i
    # Nothing was brought up.
    declare -p TESTLAN_PIDS >/dev/null 2>&1 || return 0
    # Newest first, each to its end: Ostrel saves its list on the way out, which it
    # cannot do once the X server it runs on has gone.
    for ((i = ${#TESTLAN_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${TESTLAN_PIDS[i]}
        kill "$pid" 2>/dev/null || continue
        until_true 15 eval '! testlan_running $pid' || kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    TESTLAN_PIDS=()
    for ns in "${TESTLAN_ADMIN:-}" "${TESTLAN_AGENTS:-}"; do
        [[ -n $ns ]] || continue
        # Anything still running in our own namespaces was started by us.
        for pid in $(ip netns pids "$ns" 2>/dev/null); do
            kill "$pid" 2>/dev/null || true
        done
        # A namespace just left by its last process can still be busy for a moment.
        local try
        for ((try = 0; try < 10; try++)); do
            [[ -e /run/netns/$ns ]] || break
            ip netns del "$ns" 2>/dev/null || sleep 0.2
        done
        [[ -e /run/netns/$ns ]] && echo "testlan: could not remove namespace $ns" >&2
        rm -rf "/etc/netns/$ns"
    done
    return 0
}

# until_true SECONDS COMMAND...: true as soon as COMMAND succeeds, false after SECONDS.
until_true()
{
    local deadline=$((SECONDS + $1))
    shift
    while ! "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

testlan_run()
{
    local agents=5 build=build/release xvfb=0
    while (($#)); do
        case $1 in
        --agents) agents=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        --xvfb) xvfb=1; shift ;;
        *) echo "testlan: unknown option $1" >&2; return 2 ;;
        esac
    done
    trap testlan_down EXIT
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM
    testlan_up
    testlan_add_computers "$agents"
    testlan_start_agents "$build/tools/ostrel-agent-sim" --web-port 8080
    if ((xvfb)) || [[ -z ${DISPLAY:-} ]]; then
        testlan_start_xvfb
        echo "testlan: Ostrel runs under Xvfb on $DISPLAY"
    fi
    echo "testlan: $agents simulated computers on ${TESTLAN_COMPUTERS[*]}"
    # The simulated computers go into a list of their own, not the machine's. Ostrel runs in
    # the background so that a signal to this script ends the wait at once and the cleanup
    # stops Ostrel, rather than waiting for Ostrel to end by itself.
    testlan_ostrel "$(realpath -m "$build/testlan-data")" "$build/ostrel"
    wait "$TESTLAN_OSTREL_PID"
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
    set -euo pipefail
    cd "$(dirname "$0")/.."
    case ${1:-} in
    run) shift; testlan_run "$@" ;;
    *) echo "usage: scripts/testlan.sh run [--agents N] [--build DIR] [--xvfb]   (or source it)" >&2; exit 2 ;;
    esac
fi
