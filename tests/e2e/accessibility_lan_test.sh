#!/usr/bin/env bash
# What a screen reader finds in Ostrel, end to end: the real program on the test LAN, run by
# root with no sandbox switch of the test's, on an accessibility bus of the test's own, read
# and driven through AT-SPI by accessibility_check.py.
# Usage: accessibility_lan_test.sh OSTREL AGENT_SIM rows
set -euo pipefail

here=$(dirname "$(realpath "$0")")
. "$here/lan-lib.sh" "$@"

testlan_up
testlan_start_xvfb
testlan_add_computer PC1
testlan_start_agents "$sim" --web-port 8080
list_file "http://PC1:8080" "http://Gone-PC:8080" >"$data/Mervane/list.dat"

# A session bus in the admin namespace, where Ostrel and the check find the accessibility bus.
bus="unix:path=$work/session-bus"
testlan_admin dbus-daemon --session --nofork --address="$bus" >/dev/null 2>&1 &
TESTLAN_PIDS+=($!)
until_true 10 test -S "$work/session-bus" || fail "the session bus did not start"
testlan_admin env DBUS_SESSION_BUS_ADDRESS="$bus" DISPLAY="$DISPLAY" \
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
TESTLAN_PIDS+=($!)

testlan_ostrel "$data" "$ostrel" DBUS_SESSION_BUS_ADDRESS="$bus" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
window=$(copy_window "$TESTLAN_OSTREL_PID") || fail "the main window did not show"
add_entry "$window" "Typed-PC:8080"

check()
{
    testlan_admin env DBUS_SESSION_BUS_ADDRESS="$bus" DISPLAY="$DISPLAY" /usr/bin/python3 "$here/accessibility_check.py" "$@" \
        || fail "see above"
}

check
click_row 0
until_true 30 title_is "Ostrel 4.1.1 - http://PC1:8080" || fail "PC1's page did not open again"
check page-menu
# Typed-PC deleted through its entry menu.
click_row 2 3
until_true 10 menu_shown 2 || fail "the entry menu did not open"
xdotool key d
check after-delete
