#!/usr/bin/env bash
# Runs one sealed Ostrel session (see scripts/sealed-session.sh): waits for the
# main window, optionally takes a screenshot, then sends SIGTERM. Exits with
# Ostrel's exit status, or 124 when the window never came up or Ostrel did not end.
#
# Usage: spine-session.sh OSTREL DATA_FOLDER [SCREENSHOT.png]
set -euo pipefail
source "$(dirname "$0")/../../scripts/sealed-session.sh"
sealed_enter "$0" "$@"

ostrel=$1
screenshot=${3:-}
sealed_data_folder "$2"
sealed_quiet_network
sealed_start_xvfb

"$ostrel" >/dev/null 2>&1 &
program=$!
if ! sealed_wait_for_window; then
    kill -KILL "$program"
    exit 124
fi
if [[ -n $screenshot ]]; then
    sleep 1
    import -window root "$screenshot"
fi
kill -TERM "$program"
status=0
timeout 20 tail --pid="$program" -f /dev/null || status=124
wait "$program" || status=$?
exit "$status"
