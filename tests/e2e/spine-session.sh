#!/usr/bin/env bash
# Runs one sealed Ostrel session (see scripts/sealed-session.sh): waits for the
# main window, then sends SIGTERM. Exits with Ostrel's exit status, or 124 when
# the window never came up or Ostrel did not end.
#
# Usage: spine-session.sh OSTREL DATA_FOLDER
set -euo pipefail
source "$(dirname "$0")/../../scripts/sealed-session.sh"
sealed_enter "$0" "$@"

ostrel=$1
sealed_data_folder "$2"
sealed_quiet_network
sealed_start_xvfb

"$ostrel" >/dev/null 2>&1 &
program=$!
if ! sealed_wait_for_window; then
    kill -KILL "$program"
    exit 124
fi
kill -TERM "$program"
status=0
timeout 20 tail --pid="$program" -f /dev/null || status=124
wait "$program" || status=$?
exit "$status"
