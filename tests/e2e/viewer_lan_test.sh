#!/usr/bin/env bash
# The viewer end to end: the real program under Xvfb in the admin namespace of a
# test LAN (scripts/testlan.sh), simulated agents on the other side.
# Usage: viewer_lan_test.sh OSTREL AGENT_SIM SCENARIO
set -euo pipefail

. "$(dirname "$(realpath "$0")")/lan-lib.sh" "$@"

# Screen places: the window is maximised at the origin without a frame.
viewX=900
viewY=500
agentBackground="srgb(244,246,248)"

# Dark text in the status line to the right of where "Connecting..." ends: the
# status line names a failing address.
status_names_an_address()
{
    import -display "$DISPLAY" -window root "$work/now.png" 2>/dev/null || return 1
    local darkest
    darkest=$(convert "$work/now.png" -crop 120x14+380+777 -colorspace gray -format "%[fx:minima.intensity]" info:)
    awk -v d="$darkest" 'BEGIN { exit !(d < 0.5) }'
}

testlan_up
testlan_start_xvfb

case $scenario in
open-page)
    # A discovered computer, clicked, shows its agent's page; its menu's Open, by
    # access key, opens the other one.
    testlan_add_computers 2 PC >/dev/null
    testlan_start_agents "$sim" --web-port 8080
    start_ostrel
    until_true 30 online 0 || fail "PC1 was not discovered"
    until_true 30 online 1 || fail "PC2 was not discovered"
    # The rows stand in the order the replies came, which the agents do not fix.
    click_row 0
    until_true 30 title_is "Ostrel 4.1.1 - http://PC[12]:8080" || fail "the first row's page did not complete"
    until_true 30 pixel_is $viewX $viewY "$agentBackground" || fail "the first row's page was not painted"
    shot first
    if title_is "Ostrel 4.1.1 - http://PC1:8080"; then second=PC2; else second=PC1; fi
    click_row 1 3
    until_true 10 menu_shown 1 || fail "the entry menu did not open"
    xdotool key o
    until_true 30 title_is "Ostrel 4.1.1 - http://$second:8080" || fail "Open in the menu did not open $second"
    until_true 30 pixel_is $viewX $viewY "$agentBackground" || fail "$second's page was not painted"
    shot second
    ;;
agent-down)
    # A computer whose agent does not listen: the view stays blank, the status
    # line names the address, the title names the entry all the same.
    testlan_add_computer Down-PC >/dev/null
    list_file "Down-PC:8090" >"$data/Mervane/list.dat"
    start_ostrel
    click_row 0
    until_true 30 title_is "Ostrel 4.1.1 - Down-PC:8090" || fail "the failed download did not set the title"
    until_true 10 status_names_an_address || fail "the status line names no address"
    pixel_is $viewX $viewY "srgb(255,255,255)" || fail "the view is not blank"
    pixel_is 400 60 "srgb(255,255,255)" || fail "the view shows an error page"
    shot down
    ;;
frame-fail)
    # A page whose frame cannot load keeps the page; the frame shows no error page.
    testlan_add_computers 1 PC >/dev/null
    testlan_start_agents "$sim" --web-port 8080
    list_file "PC1:8080/frame-fail" >"$data/Mervane/list.dat"
    start_ostrel
    click_row 0
    until_true 30 title_is "Ostrel 4.1.1 - PC1:8080/frame-fail" || fail "the page did not complete"
    until_true 30 pixel_is $viewX $viewY "$agentBackground" || fail "the page was not kept"
    shot frame
    ;;
*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASS ($scenario)"
