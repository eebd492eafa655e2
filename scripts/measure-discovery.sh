#!/usr/bin/env bash
# Measures discovery under a flood: N simulated computers (default 1000) answer
# one request within the same moment on the test LAN. The benchmark takes one
# request in the main event loop (how many were merged, the time from the
# request to the last merge and to the merge of all but the slow ones, the
# longest stretch of UI-thread work, the longest an event waited) and one scan
# (by which step all were online again, the longest pump of a step).
# With --slow K, K of the computers have no hosts entry and are named by a DNS
# responder that takes 2 s per reverse lookup; with --slow-first they answer
# before the others instead of after them; with --unreachable the resolver
# answers no query at all, so those K are never named and each of their lookups
# waits for the resolver's 5 s time-out.
# Usage: scripts/measure-discovery.sh [--agents N] [--slow K] [--slow-first] [--unreachable] [--build DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/testlan.sh

agents=1000 slow=0 slowFirst=0 unreachable=0 build=build/bench
while (($#)); do
    case $1 in
    --agents) agents=$2; shift 2 ;;
    --slow) slow=$2; shift 2 ;;
    --slow-first) slowFirst=1; shift ;;
    --unreachable) unreachable=1; shift ;;
    --build) build=$2; shift 2 ;;
    *) echo "usage: $0 [--agents N] [--slow K] [--slow-first] [--unreachable] [--build DIR]" >&2; exit 2 ;;
    esac
done
if [[ ! -x $build/bench/bench_discovery_flood ]]; then
    cmake --preset bench
    cmake --build --preset bench -j "$(nproc)" --target bench_discovery_flood ostrel-agent-sim ostrel-slow-dns
fi

trap testlan_down EXIT
testlan_up
# The simulator answers in the order the computers were added.
((slowFirst)) || testlan_add_computers $((agents - slow))
slowNames=()
for ((n = 1; n <= slow; n++)); do
    testlan_add_computer "Slow$n" "" --unnamed
    slowNames+=("$TESTLAN_LAST_ADDRESS=Slow$n")
done
((slowFirst)) && testlan_add_computers $((agents - slow))
testlan_start_agents "$build/tools/ostrel-agent-sim" --web-port 8080
nameless=0
if ((unreachable)); then
    testlan_start_resolver "$build/tools/ostrel-slow-dns" --silent
    nameless=1
    echo "measure: $agents computers ($slow without a name, the resolver unreachable)"
elif ((slow)); then
    testlan_start_resolver "$build/tools/ostrel-slow-dns" --delay 2000 "${slowNames[@]}"
    echo "measure: $agents computers ($slow with a 2 s resolver)"
else
    echo "measure: $agents computers"
fi
testlan_admin env OSTREL_BENCH_AGENTS="$agents" OSTREL_BENCH_SLOW="$slow" OSTREL_BENCH_NAMELESS="$nameless" \
    "$build/bench/bench_discovery_flood"
