#!/usr/bin/env bash
# Measures discovery under a flood: N simulated computers (default 1000) answer
# one request within the same moment on the test LAN; the benchmark runs the
# scan's steps and reports how many were merged, by which step, the time from
# the request to the last merge, and the longest the UI thread's pump took.
# With --slow K, K of the computers have no hosts entry and are named by a DNS
# responder that takes 2 s per reverse lookup; with --slow-first they answer
# before the others instead of after them.
# Usage: scripts/measure-discovery.sh [--agents N] [--slow K] [--slow-first] [--build DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/testlan.sh

agents=1000 slow=0 slowFirst=0 build=build/bench
while (($#)); do
    case $1 in
    --agents) agents=$2; shift 2 ;;
    --slow) slow=$2; shift 2 ;;
    --slow-first) slowFirst=1; shift ;;
    --build) build=$2; shift 2 ;;
    *) echo "usage: $0 [--agents N] [--slow K] [--slow-first] [--build DIR]" >&2; exit 2 ;;
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
if ((slow)); then
    testlan_agents "$build/tools/ostrel-slow-dns" --listen "$TESTLAN_AGENTS_ADDRESS" --delay 2000 "${slowNames[@]}" &
    TESTLAN_PIDS+=($!)
fi
echo "measure: $agents computers ($slow with a 2 s resolver)"
testlan_admin env OSTREL_BENCH_AGENTS="$agents" "$build/bench/bench_discovery_flood"
