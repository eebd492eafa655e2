#!/usr/bin/env bash
# The shared list file end to end: copies of the real program on one data folder in the
# admin namespace of a test LAN (scripts/testlan.sh).
# Usage: shared_list_lan_test.sh OSTREL AGENT_SIM SCENARIO
set -euo pipefail

. "$(dirname "$(realpath "$0")")/lan-lib.sh" "$@"

# The list file holds exactly these entries, in this order.
expect_list()
{
    local names
    names=$(grep -a '^Name=' "$data/Mervane/list.dat" | tr -d '\r' | sed 's/^Name=//' | paste -sd '|') || true
    [[ $names == "$(IFS='|'; echo "$*")" ]] || fail "the list file holds [$names], not [$(IFS='|'; echo "$*")]"
}

# copy_window PID [TITLE]: the main window of the copy with that process id, once shown.
# Its title is "Ostrel 4.1.1" unless the load failed.
copy_window()
{
    local pid=$1 title=${2:-Ostrel 4\.1\.1} window
    until_true 60 eval 'window=$(xdotool search --all --onlyvisible --pid "$pid" --name "^$title$" 2>/dev/null)' \
        || return 1
    echo "$window"
}

# dismiss_box_titled TITLE WHAT: clicks OK in the error box titled TITLE.
dismiss_box_titled()
{
    local title=$1 box WINDOW X Y WIDTH HEIGHT SCREEN
    until_true 60 eval 'box=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1) && [[ -n $box ]]' \
        || fail "no error box for $2"
    # Without a window manager the box may lie under a main window.
    xdotool windowraise "$box"
    eval "$(xdotool getwindowgeometry --shell "$box")"
    xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 22)) click 1
    until_true 10 eval '! xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | grep -qx "$box"' \
        || fail "the box for $2 did not go"
}

# add_entry WINDOW TEXT: "Add computer" in that main window, TEXT typed, "Save".
add_entry()
{
    local dialog="" try WINDOW X Y WIDTH HEIGHT SCREEN
    for try in 1 2 3; do
        xdotool windowraise "$1"
        xdotool mousemove --window "$1" 142 74 click 1
        until_true 3 eval 'dialog=$(xdotool search --onlyvisible --name "^Add computer$" 2>/dev/null | head -1) && [[ -n $dialog ]]' \
            && break
    done
    [[ -n $dialog ]] || fail "the address dialog did not open"
    xdotool windowraise "$dialog"
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    xdotool type --delay 20 "$2"
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    xdotool mousemove $((X + 87)) $((Y + 94)) click 1
    until_true 10 eval '! xdotool search --onlyvisible --name "^Add computer$" >/dev/null 2>&1' \
        || fail "the address dialog did not close"
}

# end_copy PID: the close a session end brings (SIGTERM), waited for.
end_copy()
{
    local pid=$1
    kill -TERM "$pid"
    until_true 30 eval '! testlan_running $pid' || fail "copy $1 did not end"
}

# Two copies on one data folder; the second finds the discovery port taken and says so
# twice (at start and at the first request). Sets first, second and their windows.
start_two_copies()
{
    testlan_ostrel "$data" "$ostrel"
    first=$TESTLAN_OSTREL_PID
    firstWindow=$(copy_window "$first") || fail "the first copy's window did not show"
    testlan_ostrel "$data" "$ostrel"
    second=$TESTLAN_OSTREL_PID
    dismiss_box_titled Ostrel "the taken port at start"
    dismiss_box_titled Ostrel "the taken port at the first request"
    secondWindow=$(copy_window "$second") || fail "the second copy's window did not show"
}

testlan_up
testlan_start_xvfb

case $scenario in
locked-load)
    # Another copy holds the write lock while this one loads: the load fails, and the
    # close must keep what the file holds, adding what was typed meanwhile.
    list_file "http://PC1:8080" "Typed-PC:8080" >"$data/Mervane/list.dat"
    flock --exclusive --no-fork "$data/Mervane/list.dat" sleep 600 &
    locker=$!
    testlan_ostrel "$data" "$ostrel"
    copy=$TESTLAN_OSTREL_PID
    dismiss_box_titled ostrel "the failed load"
    kill "$locker"
    wait "$locker" 2>/dev/null || true
    window=$(copy_window "$copy" Ostrel) || fail "the main window did not show"
    add_entry "$window" "Added-PC:8080"
    end_copy "$copy"
    expect_list "http://PC1:8080" "Typed-PC:8080" "Added-PC:8080"
    ;;

two-copies)
    # Both copies load x; each adds an entry of its own; whichever closes last, the
    # file ends with both.
    for order in first-closes-first second-closes-first; do
        list_file "x" >"$data/Mervane/list.dat"
        start_two_copies
        add_entry "$firstWindow" "y"
        add_entry "$secondWindow" "z"
        if [[ $order == first-closes-first ]]; then
            end_copy "$first"
            end_copy "$second"
            expect_list "x" "y" "z"
        else
            end_copy "$second"
            end_copy "$first"
            expect_list "x" "z" "y"
        fi
    done
    ;;

*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASS ($scenario)"
