#!/usr/bin/env bash
# Runs one sealed Ostrel session (see scripts/sealed-session.sh): waits for the
# main window, gives the web view time to start drawing, then sends SIGTERM.
# Exits with Ostrel's exit status, 124 when the window never came up or Ostrel
# did not end, or 125 when the shown window was replaced by another (pointer
# input sent to the first one meanwhile is lost). Ostrel's stderr goes to
# STDERR_FILE.
#
# Usage: spine-session.sh OSTREL DATA_FOLDER STDERR_FILE
set -euo pipefail
source "$(dirname "$0")/../../scripts/sealed-session.sh"
sealed_enter "$0" "$@"

ostrel=$1
exec {stderrFd}>"$3"
sealed_data_folder "$2"
sealed_quiet_network
sealed_start_xvfb

"$ostrel" >/dev/null 2>&"$stderrFd" &
program=$!
shownWindow=$(sealed_wait_for_window) || {
    kill -KILL "$program"
    exit 124
}
# The web view starts drawing within this time; only a later replacement would go unseen.
sleep 3
status=0
[[ $(sealed_wait_for_window) == "$shownWindow" ]] || status=125
kill -TERM "$program"
timeout 20 tail --pid="$program" -f /dev/null || status=124
wait "$program" || status=$?
exit "$status"
