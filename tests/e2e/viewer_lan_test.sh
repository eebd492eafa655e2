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

# Red in the status line: markup read as such would show the red text of the
# agent's reply or the red text typed into the dialog.
status_shows_red()
{
    import -display "$DISPLAY" -window root "$work/now.png" 2>/dev/null || return 1
    local red
    red=$(convert "$work/now.png" -crop 700x16+290+776 -fx "r > 0.7 && g < 0.3 && b < 0.3" -format "%[fx:maxima]" info:)
    [[ $red != 0 ]]
}

# What the /processes page last reported of the key events it saw, one a line.
key_log()
{
    local address=${TESTLAN_COMPUTERS[0]%%=*}
    testlan_admin bash -c "exec 3<>/dev/tcp/$address/8080 && printf 'GET /key-log HTTP/1.0\r\n\r\n' >&3 && cat <&3" |
        sed '1,/^\r$/d'
}

key_log_has()
{
    key_log | grep -qxF "$1"
}

# Clock ticks of processor time used so far by Ostrel and every process it started.
ostrel_cpu_ticks()
{
    local pids=("$TESTLAN_OSTREL_PID") i total=0 ticks
    for ((i = 0; i < ${#pids[@]}; i++)); do
        mapfile -t -O ${#pids[@]} pids < <(pgrep -P "${pids[i]}")
        ticks=$(awk '{ print $14 + $15 }' "/proc/${pids[i]}/stat" 2>/dev/null) || continue
        total=$((total + ticks))
    done
    echo "$total"
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
    # line names the address, the title names the entry all the same. Entries
    # that make addresses the engine will not even load fail in the same way.
    testlan_add_computer Down-PC >/dev/null
    list_file "Down-PC:8090" ":8080" "http://" >"$data/Mervane/list.dat"
    start_ostrel
    click_row 0
    until_true 30 title_is "Ostrel 4.1.1 - Down-PC:8090" || fail "the failed download did not set the title"
    until_true 10 status_names_an_address || fail "the status line names no address"
    pixel_is $viewX $viewY "srgb(255,255,255)" || fail "the view is not blank"
    pixel_is 400 60 "srgb(255,255,255)" || fail "the view shows an error page"
    shot down
    click_row 1
    until_true 30 title_is "Ostrel 4.1.1 - :8080" || fail "the entry :8080 did not complete"
    until_true 10 status_names_an_address || fail "the status line names no address for :8080"
    click_row 2
    until_true 30 title_is "Ostrel 4.1.1 - http://" || fail "the entry http:// did not complete"
    until_true 10 status_names_an_address || fail "the status line names no address for http://"
    ;;
keys)
    # Enter in a text field of an agent's page: the page sees the typed Enter and
    # one injected Control+M on the M key, nothing more, and Ostrel goes idle.
    testlan_add_computers 1 PC >/dev/null
    testlan_start_agents "$sim" --web-port 8080
    list_file "PC1:8080/processes" >"$data/Mervane/list.dat"
    start_ostrel
    click_row 0
    until_true 30 title_is "Ostrel 4.1.1 - PC1:8080/processes" || fail "the page did not complete"
    until_true 30 pixel_is $viewX $viewY "$agentBackground" || fail "the page was not painted"
    # The find box lies 200 pixels down the page and 20 in; the view starts at 288,1.
    xdotool mousemove 458 221 click 1 key a
    until_true 10 key_log_has "keyup KeyA a" || fail "the find box did not get the typed key"
    ticks=$(ostrel_cpu_ticks)
    xdotool key Return
    until_true 10 key_log_has "keyup ControlLeft Control ctrl" || fail "the page reported no Control+M"
    # An endless chain of injections would go on filling the log and keep a core busy meanwhile.
    sleep 2
    ticks=$(($(ostrel_cpu_ticks) - ticks))
    key_log >"$work/keys.log"
    shot keys
    printf '%s\n' "keydown Enter Enter" "keydown ControlLeft Control ctrl" "keydown KeyM m ctrl" >"$work/downs"
    printf '%s\n' "keyup ControlLeft Control ctrl" "keyup Enter Enter" "keyup KeyM m ctrl" >"$work/ups"
    grep '^keydown' "$work/keys.log" | grep -v KeyA | cmp -s - "$work/downs" ||
        fail "the page saw other key presses: $(grep -c ^keydown "$work/keys.log") in all, $(head -c 300 "$work/keys.log")"
    grep '^keyup' "$work/keys.log" | grep -v KeyA | sort | cmp -s - "$work/ups" || fail "the page saw other key releases"
    [[ $(grep -c '^search$' "$work/keys.log") == 1 ]] || fail "Enter did not search exactly once"
    ((ticks < 60)) || fail "Ostrel kept busy after the Enter: $ticks clock ticks in 2 s"
    ;;
markup)
    # Markup in an entry's text, from an agent's reply or typed into the address
    # dialog, is shown as written. The dialog stays over the main window, which
    # owns it, and Enter on its focused "Save" saves.
    testlan_add_computers 1 PC >/dev/null
    testlan_start_agents "$sim" --web-port 8080 --reply markup
    start_ostrel
    until_true 30 online 0 || fail "PC1 was not discovered"
    click_row 0
    until_true 30 title_is "Ostrel 4.1.1 - http://PC1:8080<font color=#FF0000><b>Agent</b></font>" ||
        fail "the reply's entry did not complete"
    until_true 10 status_names_an_address || fail "the status line names no address for the reply's entry"
    shot reply
    ! status_shows_red || fail "the status line shows the reply's markup as markup"
    mainWindow=$(xdotool search --onlyvisible --name '^Ostrel 4\.1\.1')
    xdotool mousemove 142 75 click 1
    until_true 10 title_is "Add computer" || fail "Add computer showed no dialog"
    dialog=$(xdotool search --onlyvisible --name '^Add computer$')
    [[ $(xprop -id "$dialog" WM_TRANSIENT_FOR) == *"$(printf '0x%x' "$mainWindow")" ]] ||
        fail "the dialog is not owned by the main window: $(xprop -id "$dialog" WM_TRANSIENT_FOR)"
    # Typed on the keyboard, into the dialog, which has the focus. Keys sent to the dialog by its
    # window id would not do: Enter's release, sent so once Save had closed the dialog, never
    # reached the keyboard, which held Enter down and repeated it into "Add computer".
    xdotool type '<font color=#FF0000>Typed</font>'
    xdotool key Tab Return
    until_true 10 row_drawn 1 || fail "Enter on Save added no entry"
    click_row 1
    until_true 30 title_is "Ostrel 4.1.1 - <font color=#FF0000>Typed</font>" || fail "the typed entry did not complete"
    until_true 10 status_names_an_address || fail "the status line names no address for the typed entry"
    shot typed
    ! status_shows_red || fail "the status line shows the typed markup as markup"
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
