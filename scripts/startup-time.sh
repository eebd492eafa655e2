#!/usr/bin/env bash
# Measures Ostrel's start-up, sealed off (scripts/sealed-session.sh), over RUNS runs:
#   shown:      process start until the main window is shown (web view created, engine idle)
#   first page: click on the first computer until its page is shown, the web engine's first use
#   next page:  the same for the second computer, with the engine already running
# Both page times include the viewer's fixed wait of at least 1000 ms before it navigates.
# The computers are two small web servers on loopback inside the private network namespace.
#
# Usage: scripts/startup-time.sh [OSTREL] [RUNS]   (OSTREL_LOG=FILE outside /tmp keeps its stderr)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sealed-session.sh
sealed_enter "$0" "$@"

ostrel=$(realpath "${1:-build/release/ostrel}")
runs=${2:-5}

sealed_quiet_network
sealed_start_xvfb
dataFolder=$(mktemp -d)
sealed_data_folder "$dataFolder"
pages=$(mktemp -d)
echo '<html><body><h1>Agent</h1></body></html>' >"$pages/index.html"
python3 -m http.server 18080 --bind 127.0.0.1 --directory "$pages" >/dev/null 2>&1 &
python3 -m http.server 18081 --bind 127.0.0.1 --directory "$pages" >/dev/null 2>&1 &
servers=$(jobs -p | tr '\n' ' ')
trap 'kill $servers "$SEALED_XVFB" 2>/dev/null; rm -rf "$dataFolder" "$pages"' EXIT

now() { date +%s%N; }
milliseconds() { echo $((($2 - $1) / 1000000)); }
# Polls without sleeping: a search costs a few milliseconds, which is the resolution.
wait_for_title()
{
    local deadline=$((SECONDS + 30))
    until xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || { echo "startup-time: no window titled $1" >&2; exit 1; }
    done
}
open_row()
{
    # Rows are 50 pixels high from y 101 in the left column.
    xdotool mousemove 140 $((126 + 50 * $1)) click 1
}

printf 'run\tshown ms\tfirst page ms\tnext page ms\n'
for ((run = 1; run <= runs; run++)); do
    mkdir -p /var/lib/Mervane
    printf '\xEF\xBB\xBF[General]\r\nComputers=2\r\n\r\n[0]\r\nName=http://127.0.0.1:18080\r\n\r\n[1]\r\nName=http://127.0.0.1:18081\r\n\r\n' \
        >/var/lib/Mervane/list.dat
    start=$(now)
    "$ostrel" >/dev/null 2>"${OSTREL_LOG:-/dev/null}" &
    program=$!
    wait_for_title '^Ostrel 4\.1\.1$'
    shown=$(now)
    clicked=$(now)
    open_row 0
    wait_for_title '18080$'
    firstPage=$(now)
    open_row 1
    wait_for_title '18081$'
    nextPage=$(now)
    kill -TERM "$program"
    wait "$program" || true
    printf '%d\t%d\t%d\t%d\n' "$run" "$(milliseconds "$start" "$shown")" "$(milliseconds "$clicked" "$firstPage")" \
        "$(milliseconds "$firstPage" "$nextPage")"
done
