#!/usr/bin/env bash
# The run command's LAN goes when the command is stopped by a signal while Ostrel is
# still up: Ostrel ends the usual way, saving its list, and no namespace, veth pair,
# hosts folder or process of the LAN is left.
# Usage: run_lan_test.sh BUILD_DIR SIGNAL
set -euo pipefail

build=$(realpath "$1")
signal=$2
testlan="$(dirname "$(realpath "$0")")/../../scripts/testlan.sh"
. "$testlan"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

fail()
{
    echo "FAIL ($signal): $*" >&2
    cat "$log" >&2
    exit 1
}

# The main window shows on the run command's X server.
ostrel_up()
{
    local display
    display=$(grep -o 'Xvfb on :[0-9]*' "$log" | grep -o ':[0-9]*') || return 1
    DISPLAY=$display xdotool search --onlyvisible --name '^Ostrel 4.1.1$' >/dev/null 2>&1
}

leftovers()
{
    local pid
    [[ $(ip netns list) == *ostrel$id-* ]] && return 0
    [[ $(ip link) == *ov${id}[ag]* ]] && return 0
    [[ -e /etc/netns/$admin || -e /etc/netns/$agents ]] && return 0
    for pid in $inside; do
        [[ -e /proc/$pid ]] && return 0
    done
    return 1
}

list="$build/testlan-data/Mervane/list.dat"
rm -f "$list"
"$testlan" run --agents 2 --build "$build" --xvfb >"$log" 2>&1 &
id=$!
admin="ostrel$id-admin"
agents="ostrel$id-agents"
until_true 60 ostrel_up || { kill "$id"; fail "Ostrel did not come up"; }

# Ostrel, the agents and the X server, all started by the run command.
inside="$(ip netns pids "$admin") $(ip netns pids "$agents") $(pgrep -P "$id" || true)"
kill -s "$signal" "$id"
# Bounded by the test's timeout: a run command that waits for Ostrel to end by itself hangs here.
wait "$id" || true
# What the cleanup stopped may take a moment to go.
until_true 10 eval '! leftovers' || fail "something of the LAN was left behind"
[[ -s $list ]] || fail "Ostrel was stopped before it could save its list"
echo "PASS ($signal)"
