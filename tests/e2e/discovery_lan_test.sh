#!/usr/bin/env bash
# Discovery end to end: the real program under Xvfb in the admin namespace of a
# test LAN (scripts/testlan.sh), simulated agents on the other side.
# Usage: discovery_lan_test.sh OSTREL AGENT_SIM SCENARIO
set -euo pipefail

. "$(dirname "$(realpath "$0")")/lan-lib.sh" "$@"

offline()
{
    ! online "$1"
}

close_ostrel()
{
    kill -TERM "$TESTLAN_OSTREL_PID"
    until_true 30 eval '! testlan_running $TESTLAN_OSTREL_PID' || fail "Ostrel did not end"
}

# Clicks the OK button at the bottom right of the error box.
dismiss_box()
{
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 22)) click 1
}

# The entries of the saved list, sorted: rows stand in the order the replies came.
saved_names()
{
    entries | sort | paste -sd '|'
}

# press_dialog_button Save|Cancel: in the address dialog, which is up.
press_dialog_button()
{
    local WINDOW X Y WIDTH HEIGHT SCREEN id
    id=$(xdotool search --onlyvisible --name '^Add computer$' | head -1)
    eval "$(xdotool getwindowgeometry --shell "$id")"
    case $1 in
    Save) xdotool mousemove $((X + 87)) $((Y + 94)) click 1 ;;
    Cancel) xdotool mousemove $((X + 235)) $((Y + 94)) click 1 ;;
    esac
}

# The DNS responder of the test LAN, built beside the simulator.
dns=$(dirname "$sim")/ostrel-slow-dns

# Clicks "Find computers" and waits for the scan to show; a click the fresh window lost is repeated once.
click_find_computers()
{
    local try
    for try in 1 2; do
        xdotool mousemove 142 25 click 1
        until_true 3 scanning && return 0
    done
    fail "no scan started"
}

testlan_up
testlan_start_xvfb

case $scenario in
first-show)
    # An entry from the file in other letter case is marked online, not added again. The
    # agents see one request, broadcast from the listening port to theirs.
    list_file "http://pc1:8080" "Typed-PC:8080" >"$data/Mervane/list.dat"
    testlan_add_computers 2
    testlan_start_agents "$sim" --web-port 8080 --requests "$work/requests.log"
    start_ostrel
    until_true 20 online 0 || fail "http://pc1:8080 not marked online"
    until_true 20 online 2 || fail "PC2 not added online"
    offline 1 || fail "an entry that no agent named is online"
    shot "online"
    requests_are 1 || fail "the agents saw: $(cat "$work/requests.log")"
    close_ostrel
    expect_list_file "http://pc1:8080" "Typed-PC:8080" "http://PC2:8080"
    ;;

scan)
    # Loaded from the file, so the rows keep this order whoever answers first.
    list_file "http://PC1:8080" "http://PC2:8080" "http://PC3:8090" >"$data/Mervane/list.dat"
    testlan_add_computers 2
    testlan_start_agents "$sim" --web-port 8080 --requests "$work/requests.log"
    testlan_add_computer PC3
    testlan_start_agents "$sim" --web-port 8090
    stoppable=${TESTLAN_PIDS[-1]}
    start_ostrel
    until_true 20 eval 'online 0 && online 1 && online 2' || fail "not all three online after the first show"
    requests_are 1 || fail "the agents saw: $(cat "$work/requests.log")"
    # PC3's agent stops answering; the scan re-marks the others and leaves it offline.
    kill "$stoppable"
    until_true 5 eval '! testlan_running $stoppable' || fail "PC3's agent did not stop"
    click_find_computers
    sleep 2
    shot "during-scan"
    offline 2 || fail "PC3 still online during the scan"
    online 0 || fail "PC1 not re-marked online within the scan's first steps"
    until_true 20 eval '! scanning' || fail "the scan did not end"
    shot "after-scan"
    online 0 && online 1 || fail "answering agents not online after the scan"
    offline 2 || fail "silent agent online after the scan"
    requests_are 2 || fail "the agents saw: $(cat "$work/requests.log")"
    close_ostrel
    expect_list_file "http://PC1:8080" "http://PC2:8080" "http://PC3:8090"
    ;;

close-during-scan)
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8080
    start_ostrel
    until_true 20 online 0 || fail "PC1 not online"
    click_find_computers
    sleep 2
    kill -TERM "$TESTLAN_OSTREL_PID"
    until_true 5 test -s "$data/Mervane/list.dat" || fail "the list was not saved at once"
    saved=$(stat -c %y "$data/Mervane/list.dat")
    sleep 2
    testlan_running "$TESTLAN_OSTREL_PID" || fail "the program ended before the scan did"
    title_is "Ostrel 4.1.1" || fail "the window went before the scan ended"
    shot "closing-during-scan"
    until_true 15 eval '! testlan_running $TESTLAN_OSTREL_PID' || fail "the program did not end after the scan"
    [[ $(stat -c %y "$data/Mervane/list.dat") == "$saved" ]] || fail "the list was saved again at the end"
    expect_list_file "http://PC1:8080"
    ;;

replies)
    # Every way an agent can answer, one simulated computer each.
    testlan_add_computer Normal
    testlan_start_agents "$sim" --web-port 8080
    testlan_add_computer Prefixed
    testlan_start_agents "$sim" --web-port 9002 --reply prefixed
    testlan_add_computer EmptyPort
    testlan_start_agents "$sim" --web-port 9003 --reply empty-port
    testlan_add_computer Fits
    testlan_start_agents "$sim" --web-port 9004 --reply size-8192
    testlan_add_computer TooLong
    testlan_start_agents "$sim" --web-port 9005 --reply size-8193
    testlan_add_computer NoMarker
    testlan_start_agents "$sim" --web-port 9006 --reply no-marker
    testlan_add_computer LowerCase
    testlan_start_agents "$sim" --web-port 9007 --reply lower-case
    testlan_add_computer Twice
    testlan_start_agents "$sim" --web-port 9008 --twice
    testlan_add_computer Late
    testlan_start_agents "$sim" --web-port 9009 --delay 4000
    testlan_add_computer Ghost "" --unnamed
    testlan_start_agents "$sim" --web-port 9010
    start_ostrel
    sleep 7
    shot "replies"
    close_ostrel
    names=$(saved_names)
    expected="http://EmptyPort:|http://Fits:9004|http://Late:9009|http://Normal:8080|http://Prefixed: I am here, Port:9002|http://Twice:9008"
    [[ $names == "$expected" ]] || fail "entries were: $names"
    ;;

typed)
    # An address typed in by hand has no status: a reply for it later in the same run
    # neither marks it online nor adds it again. PC2 shows that the replies came.
    testlan_add_computers 2
    start_ostrel
    xdotool mousemove 142 74 click 1
    until_true 10 title_is "Add computer" || fail "the address dialog did not open"
    id=$(xdotool search --onlyvisible --name '^Add computer$' | head -1)
    xdotool windowraise "$id"
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool type --delay 20 "http://PC1:8080"
    press_dialog_button Save
    until_true 10 eval '! title_is "Add computer"' || fail "the address dialog did not close"
    testlan_start_agents "$sim" --web-port 8080
    click_find_computers
    until_true 20 eval '! scanning' || fail "the scan did not end"
    shot "after-scan"
    online 1 || fail "PC2 not added online"
    offline 0 || fail "the typed address was marked online"
    close_ostrel
    expect_list_file "http://PC1:8080" "http://PC2:8080"
    ;;

unreachable-resolver)
    # The resolver drops every query, so the name of a sender without a hosts entry is
    # looked up until the resolver's time-out. That sender answers first; the named
    # agents answer a moment later, in a later read, and still appear at once. The
    # window is closed while that lookup still hangs: the window goes at once, the
    # program ends and the list is saved.
    printf 'nameserver %s\noptions timeout:30 attempts:1\n' "$TESTLAN_AGENTS_ADDRESS" \
        >"/etc/netns/$TESTLAN_ADMIN/resolv.conf"
    testlan_start_resolver "$dns" --silent
    testlan_add_computer Nameless "" --unnamed
    testlan_start_agents "$sim" --web-port 8080
    testlan_add_computers 3
    testlan_start_agents "$sim" --web-port 8090 --delay 300
    start_ostrel
    until_true 10 eval 'online 0 && online 1 && online 2' || fail "the named agents waited for another's name"
    shot "named"
    kill -TERM "$TESTLAN_OSTREL_PID"
    closed=$(date +%s%N)
    until_true 5 eval '! title_is "Ostrel 4.1.1"' || fail "the window stayed up while a lookup hung"
    until_true 5 eval '! testlan_running $TESTLAN_OSTREL_PID' || fail "the program waited for the hanging lookup"
    echo "closed in $((($(date +%s%N) - closed) / 1000000)) ms (the polling included)"
    names=$(saved_names)
    [[ $names == "http://PC2:8090|http://PC3:8090|http://PC4:8090" ]] || fail "saved: $names"
    ;;

chatty-sender)
    # An agent that answers again every 2 ms for a minute, faster than its name is looked
    # up (its reverse zone answers after 20 ms). The window stays usable, and during the
    # scan an entry is deleted by its menu, one is added and one edited by the dialog; the
    # scan still ends after its steps.
    list_file "http://Gone:8080" "Typed:8080" >"$data/Mervane/list.dat"
    testlan_add_computer Chatty "" --unnamed
    testlan_start_resolver "$dns" --delay 20 "$TESTLAN_LAST_ADDRESS=Chatty"
    testlan_start_agents "$sim" --web-port 8080 --every 2
    start_ostrel
    until_true 20 online 2 || fail "the chatty agent was not added online"
    click_find_computers
    click_row 0 3
    until_true 10 menu_shown 0 || fail "the entry menu did not open during the scan"
    xdotool key d
    until_true 10 eval '! row_drawn 2' || fail "Delete during the scan removed no entry"
    clicked=$(date +%s%N)
    xdotool mousemove 142 74 click 1
    until_true 10 title_is "Add computer" || fail "the address dialog did not open during the scan"
    echo "Add computer shown $((($(date +%s%N) - clicked) / 1000000)) ms after the click (the polling included)"
    id=$(xdotool search --onlyvisible --name '^Add computer$' | head -1)
    xdotool windowraise "$id"
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool type --delay 20 "Added:8080"
    press_dialog_button Save
    until_true 10 eval '! title_is "Add computer"' || fail "the address dialog did not close"
    until_true 10 row_drawn 2 || fail "the added entry did not show"
    click_row 0 3
    until_true 10 menu_shown 0 || fail "the entry menu did not open for Edit"
    xdotool key e
    until_true 10 title_is "Add computer" || fail "Edit opened no dialog during the scan"
    press_dialog_button Cancel
    until_true 10 eval '! title_is "Add computer"' || fail "the edit dialog did not close"
    shot "during-scan"
    until_true 30 eval '! scanning' || fail "the scan did not end"
    close_ostrel
    expect_list_file "Typed:8080" "http://Chatty:8080" "Added:8080"
    ;;

stale-reply)
    # An agent answers the first-show request while its name takes 4 s to look up, then goes
    # down; "Find computers" is pressed meanwhile. That reply came before the scan began: its
    # entry, loaded from the file, stays offline during the scan and after it.
    list_file "http://Slow:8080" >"$data/Mervane/list.dat"
    testlan_add_computer Slow "" --unnamed
    testlan_start_resolver "$dns" --delay 4000 "$TESTLAN_LAST_ADDRESS=Slow"
    testlan_start_agents "$sim" --web-port 8080 --requests "$work/requests.log"
    agent=${TESTLAN_PIDS[-1]}
    start_ostrel
    until_true 10 requests_are 1 || fail "the agent saw no first-show request"
    kill "$agent"
    until_true 10 eval '! testlan_running $agent' || fail "the agent did not go down"
    click_find_computers
    asked=$SECONDS
    while ((SECONDS < asked + 12)); do
        ! online 0 || fail "the entry turned online $((SECONDS - asked)) s into a scan it never answered"
        sleep 0.5
    done
    ! scanning || fail "the scan did not end"
    ! online 0 || fail "the entry is online after a scan it never answered"
    requests_are 1 || fail "the agent saw: $(cat "$work/requests.log")"
    ;;

second-copy)
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8080
    start_ostrel
    first=$TESTLAN_OSTREL_PID
    mkdir -p "$work/data2"
    testlan_ostrel "$work/data2" "$ostrel"
    # The bind error while the window is made, and again for the first-show request.
    for box in creation first-show; do
        until_true 60 title_is Ostrel || fail "no error box at the $box"
        id=$(xdotool search --onlyvisible --name '^Ostrel$' | head -1)
        # Without a window manager the box may lie under the main window.
        xdotool windowraise "$id"
        sleep 0.5
        shot "bind-error-$box"
        dismiss_box "$id"
        until_true 10 eval '! xdotool search --onlyvisible --name "^Ostrel$" | grep -qx "$id"' \
            || fail "the $box box did not go"
    done
    until_true 10 eval '(($(xdotool search --onlyvisible --name "^Ostrel 4.1.1$" | wc -l) == 2))' \
        || fail "the second copy's window did not show"
    testlan_running "$TESTLAN_OSTREL_PID" || fail "the second copy did not run on"
    testlan_running "$first" || fail "the first copy ended"
    ;;

*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASS ($scenario)"
