#!/usr/bin/env bash
# Browsing an agent's pages end to end: the real program under Xvfb in the admin namespace of
# a test LAN, with the keyboard focus and the pointer in the web view as a user's would be.
# Usage: browsing_lan_test.sh OSTREL AGENT_SIM SCENARIO
set -euo pipefail

. "$(dirname "$(realpath "$0")")/lan-lib.sh" "$@"

agentBackground="srgb(244,246,248)"
# Screen places of the agent's /links page, whose view starts at 288,1: its links and button
# lie 20 pixels in, 300 wide and 40 high, 60 apart from 200 pixels down; 300 pixels in, the button
# covers the background.
cpuLink="388 221"
docsLink="388 281"
helpButton="388 341"
consoleLink="388 401"
buttonFace="588 341"
# A place of the page with nothing on it, for the focus.
emptyPlace="900 500"

on_links_page()
{
    pixel_is 900 500 "$agentBackground" && ! pixel_is $buttonFace "$agentBackground"
}

on_cpu_page()
{
    pixel_is 900 500 "$agentBackground" && pixel_is $buttonFace "$agentBackground"
}

# The darkest grey in the status line under the view from X on, 0 black to 1 white.
status_darkest()
{
    import -display "$DISPLAY" -window root "$work/now.png" 2>/dev/null || return 1
    convert "$work/now.png" -crop "500x14+$1+777" -colorspace gray -format "%[fx:minima.intensity]" info:
}

status_empty()
{
    awk -v d="$(status_darkest 290)" 'BEGIN { exit !(d > 0.9) }'
}

# Text in the status line past where "Unable to connect (" ends: it names an address.
status_names_an_address()
{
    awk -v d="$(status_darkest 420)" 'BEGIN { exit !(d < 0.5) }'
}

# How often the agent was asked for PATH.
page_requests()
{
    grep -cxF "GET $1" "$work/pages.log" || true
}

# The screen's pixels in the 100 x 60 below and right of X Y, as a checksum.
area_below()
{
    import -display "$DISPLAY" -window root -crop "100x60+$(($1 + 5))+$(($2 + 5))" "$work/area.png" 2>/dev/null
    convert "$work/area.png" rgb:- | md5sum
}

click_at()
{
    xdotool mousemove "$1" "$2" click "${3:-1}"
}

open_links_page()
{
    testlan_add_computers 1 PC >/dev/null
    testlan_start_agents "$sim" --web-port 8080 --page-requests "$work/pages.log"
    list_file "PC1:8080/links" >"$data/Mervane/list.dat"
    start_ostrel "$@"
    click_row 0
    until_true 30 title_is "Ostrel 4.1.1 - PC1:8080/links" || fail "the page did not complete"
    until_true 30 on_links_page || fail "the links page was not painted"
}

testlan_up
testlan_start_xvfb

case $scenario in
history)
    # A link followed, then back and forward by keys and by the mouse's buttons, and reloads
    # the agent sees. The status line is empty whenever a page has loaded, and names the
    # address of a link that failed until then.
    open_links_page
    until_true 10 status_empty || fail "the status line is not empty after the page loaded"
    click_at $consoleLink
    until_true 10 status_names_an_address || fail "the status line does not name the link that failed"
    shot failed-link
    on_links_page || fail "the failed link left its page"
    click_at $cpuLink
    until_true 30 on_cpu_page || fail "the link was not followed"
    until_true 10 status_empty || fail "the status line still names the failed link once a page has loaded"
    title_is "Ostrel 4.1.1 - PC1:8080/links" || fail "following a link changed the title"
    click_at $emptyPlace
    xdotool key alt+Left
    until_true 10 on_links_page || fail "Alt+Left did not go back"
    xdotool key alt+Right
    until_true 10 on_cpu_page || fail "Alt+Right did not go forward"
    click_at $emptyPlace 8
    until_true 10 on_links_page || fail "the back button did not go back"
    click_at $emptyPlace 9
    until_true 10 on_cpu_page || fail "the forward button did not go forward"
    before=$(page_requests /cpu)
    xdotool key F5
    until_true 10 eval '(($(page_requests /cpu) == before + 1))' || fail "F5 did not reload: $(cat "$work/pages.log")"
    until_true 10 on_cpu_page || fail "the reloaded page was not painted"
    xdotool key ctrl+r
    until_true 10 eval '(($(page_requests /cpu) == before + 2))' || fail "Ctrl+R did not reload"
    until_true 10 on_cpu_page || fail "the page reloaded by Ctrl+R was not painted"
    status_empty || fail "the status line is not empty after the reloads"
    shot history
    ;;
new-window)
    # What asks for a new window goes to the default browser, here a stand-in that notes
    # each address; the view stays on its page and the agent is not asked for the address.
    mkdir "$work/bin"
    printf '#!/bin/sh\necho "$@" >>%q\n' "$work/browser.log" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    open_links_page PATH="$work/bin:$PATH"
    browser_got()
    {
        grep -qxF "$1" "$work/browser.log" 2>/dev/null
    }
    click_at $docsLink
    until_true 10 browser_got "http://pc1:8080/docs" || fail "the link to a new window did not reach the browser"
    click_at $helpButton
    until_true 10 browser_got "http://pc1:8080/help" || fail "the script's window did not reach the browser"
    # The context menu's last item, "Open link in browser".
    before=$(area_below $cpuLink)
    click_at $cpuLink 3
    until_true 10 eval '[[ $(area_below $cpuLink) != "$before" ]]' || fail "no context menu opened"
    xdotool key Up Return
    until_true 10 browser_got "http://pc1:8080/cpu" || fail "Open link in browser did not reach the browser"
    on_links_page || fail "the view left its page"
    [[ $(wc -l <"$work/browser.log") == 3 ]] || fail "the browser got more: $(cat "$work/browser.log")"
    [[ $(page_requests /docs) == 0 && $(page_requests /help) == 0 && $(page_requests /cpu) == 0 ]] \
        || fail "the view asked the agent for a page meant for the browser"
    shot new-window
    ;;
*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASS ($scenario)"
