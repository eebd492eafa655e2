#!/usr/bin/env bash
# Ostrel.exe end to end: the real Windows program under Wine on Xvfb, with wineserver and the
# program in the admin namespace of the simulated LAN (scripts/testlan.sh), driven like a user
# with xdotool. Each run makes a Wine prefix of its own, which goes at exit with the LAN.
# Usage: ostrel_exe_lan_test.sh OSTREL_EXE WINDOW_PROBE AGENT_SIM SCENARIO
set -euo pipefail

here=$(dirname "$(realpath "$0")")
if [[ ! -x $3 ]]; then
    echo "SKIP: no simulated agent at $3: build it with the debug preset (target ostrel-agent-sim)," \
        "or point the cache variable OSTREL_AGENT_SIM at it"
    exit 77
fi
. "$here/../wine-prefix.sh"
if ! said=$(wine --version 2>&1); then
    echo "SKIP: Wine does not start on this machine: $said"
    exit 77
fi
probe=$(realpath "$2")
. "$here/../../e2e/lan-lib.sh" "$1" "$3" "$4"

export WINEPREFIX="$work/prefix"
listPath="$WINEPREFIX/drive_c/ProgramData/Mervane/list.dat"
wineLog="$work/wine.log"
# Windows writes a new list file in its ANSI code page, which has no mark.
listMark=''

wine_stop()
{
    [[ -d $WINEPREFIX ]] && testlan_admin wineserver -k 2>/dev/null
    return 0
}
trap 'wine_stop; lan_cleanup' EXIT

# The probe's lines (WindowProbe.cpp) for the visible windows of the session.
windows()
{
    testlan_admin wine "$probe" 2>>"$wineLog" | tr -d '\r'
}

# window_line TITLE: the probe's line of the first visible top-level window of that title.
window_line()
{
    windows | awk -F'\t' -v title="$1" '$1 == "window" && $6 == title { print; exit }'
}

# control_line TITLE TEXT: the line of the control with TEXT in the window of TITLE.
control_line()
{
    windows | awk -F'\t' -v title="$1" -v text="$2" '
        $1 == "window" { inside = ($6 == title) }
        $1 == "control" && inside && $6 == text { print; exit }'
}

# click_control TITLE TEXT: a left click in the middle of that control.
click_control()
{
    local line left top right bottom
    line=$(control_line "$1" "$2")
    [[ -n $line ]] || fail "no \"$2\" in \"$1\""
    read -r left top right bottom <<<"$(cut -f4 <<<"$line")"
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
}

# The status label's text: the label at its place under the web view's left end.
status_text()
{
    windows | awk -F'\t' -v left=$((listLeft + 289)) '
        $1 == "window" { main = ($6 ~ /^Ostrel 4\.1\.1/) }
        $1 == "control" && main && $5 == "Static" && $4 ~ "^" left " " { print $6; exit }'
}

# A popup menu is open.
menu_open()
{
    windows | grep -q "^window"$'\t'".*"$'\t'"#32768"$'\t'
}

# The progress bar shows: a scan runs.
scanning()
{
    windows | grep -q $'\t'"msctls_progress32"$'\t'
}

start_exe()
{
    testlan_admin wine "$ostrel" >>"$wineLog" 2>&1 &
    TESTLAN_OSTREL_PID=$!
    TESTLAN_PIDS+=($!)
    until_true 60 title_is "Ostrel 4.1.1" || fail "the main window did not show"
    find_list
}

# Where the list lies on the screen, for the row helpers of lan-lib.sh.
find_list()
{
    local line left top right bottom
    line=$(windows | awk -F'\t' '$1 == "window" { main = ($6 ~ /^Ostrel 4\.1\.1/) }
        $1 == "control" && main && $5 == "ListBox" { print; exit }')
    [[ -n $line ]] || fail "no list in the main window"
    read -r left top right bottom <<<"$(cut -f4 <<<"$line")"
    listLeft=$left
    listTop=$top
}

# The close a user makes: Alt+F4 on the main window, waited for.
close_exe()
{
    local window
    window=$(xdotool search --onlyvisible --name '^Ostrel 4\.1\.1' | head -1)
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    xdotool key alt+F4
    until_true 30 eval '! testlan_running $TESTLAN_OSTREL_PID' || fail "Ostrel.exe did not end"
}

testlan_up
testlan_start_xvfb
wine_prefix_prepare "$DISPLAY" testlan_admin >>"$wineLog" 2>&1 || {
    cat "$wineLog" >&2
    fail "the Wine prefix was not made"
}

case $scenario in
start)
    # The first run finds no list file and writes an empty list, in the ANSI code page.
    start_exe
    shot first-run
    row_drawn 0 && fail "a row was drawn for an empty list"
    close_exe
    expect_list
    # A list written elsewhere, with a letter of the ANSI code page: loaded, its rows drawn,
    # the entry that an agent names in other letter case marked online and not added again,
    # and written back byte for byte.
    list_file $'B\xFCro-PC:8080' "http://pc1:8080" >"$listPath"
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8080
    start_exe
    until_true 20 eval 'row_drawn 0 && row_drawn 1' || fail "the loaded rows were not drawn"
    until_true 20 online 1 || fail "http://pc1:8080 not marked online"
    online 0 && fail "an entry that no agent named is online"
    row_drawn 2 && fail "the answering agent was added again"
    shot loaded
    close_exe
    expect_list $'B\xFCro-PC:8080' "http://pc1:8080"
    ;;

*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASS ($scenario)"
