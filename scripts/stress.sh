#!/usr/bin/env bash
# Runs every stress scenario at full size against the release build on the simulated LAN
# and prints one line of figures per scenario: kills during a 100,000-entry save, two copies
# for 100 rounds closing one after the other and 100 closing at the same instant, two users,
# hostile datagrams, junk replies from named hosts with the memory an entry takes, shutdown
# during a flood, hostile list files (2 GB and 64 GB sparse ones among them, with the time to
# the window and the peak memory).
# On demand only; the test command runs each in a short form.
# Usage: scripts/stress.sh [BUILD_DIR, default build/release] [SCENARIO...]
set -uo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
shift || true
scenarios=("$@")
((${#scenarios[@]})) || scenarios=(kill-during-save two-copies same-instant two-users hostile-datagrams junk-flood flood-shutdown hostile-files)
if [[ ! -x $build/ostrel || ! -x $build/tools/ostrel-flood ]]; then
    echo "stress: build $build first (cmake --preset release && cmake --build --preset release)" >&2
    exit 2
fi

failed=0
for scenario in "${scenarios[@]}"; do
    log=$(mktemp)
    started=$SECONDS
    STRESS=full tests/e2e/shared_list_lan_test.sh "$build/ostrel" "$build/tools/ostrel-agent-sim" "$scenario" >"$log" 2>&1
    status=$?
    line=$(grep '^FIGURES' "$log" | tail -1)
    if ((status == 0)); then
        echo "$scenario: ${line#*: } ($((SECONDS - started)) s)"
    else
        failed=1
        echo "$scenario: FAILED after $((SECONDS - started)) s: $(grep '^FAIL' "$log" | tail -1)${line:+; ${line#*: }}"
    fi
    rm -f "$log"
done
exit "$failed"
