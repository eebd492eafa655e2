#!/usr/bin/env bash
# Ostrel.exe end to end: the real Windows program under Wine on Xvfb, with wineserver and the
# program in the admin namespace of the simulated LAN (scripts/testlan.sh), driven like a user
# with xdotool. Each run makes a Wine prefix of its own, which goes at exit with the LAN.
# Usage: ostrel_exe_lan_test.sh OSTREL_EXE WINDOW_PROBE AGENT_SIM win32|win64 SCENARIO
# (the prefix's width is the build's).
set -euo pipefail

here=$(dirname "$(realpath "$0")")
if [[ ! -x $3 ]]; then
    echo "FAIL: no simulated agent at $3: the build makes it (target ostrel_lan_tools)" >&2
    exit 1
fi
. "$here/../wine-prefix.sh"
export WINEARCH=$4
wine=$(wine_loader "$WINEARCH")
if ! wine_starts "$WINEARCH"; then
    echo "SKIP: $WINEARCH Wine does not start on this machine ($wine --version fails); where" \
        "32-bit Wine does not run, the win64 preset runs these tests"
    exit 77
fi
# Programs that Wine starts itself take the same loader.
export WINELOADER=$wine
probe=$(realpath "$2")
. "$here/../../e2e/lan-lib.sh" "$1" "$3" "$5"

export WINEPREFIX="$work/prefix"
listPath="$WINEPREFIX/drive_c/ProgramData/Mervane/list.dat"
wineLog="$work/wine.log"
# Windows writes a new list file in its ANSI code page, which has no mark. Wine takes that code
# page from the locale: in the C locale it is 1252, where "ü" is the byte FC.
listMark=''
export LC_ALL=C

wine_stop()
{
    [[ -d $WINEPREFIX ]] && testlan_admin wineserver -k 2>/dev/null
    return 0
}
trap 'wine_stop; lan_cleanup' EXIT

# The probe's lines (WindowProbe.cpp) for the visible windows of the session.
windows()
{
    testlan_admin "$wine" "$probe" 2>>"$wineLog" | tr -d '\r'
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

# The status label's line: the label at its place under the web view's left end.
status_line()
{
    windows | awk -F'\t' -v left=$((listLeft + 289)) '
        $1 == "window" { main = ($6 ~ /^Ostrel 4\.1\.1/) }
        $1 == "control" && main && $5 == "Static" && $4 ~ "^" left " " { print; exit }'
}

status_text()
{
    status_line | cut -f6
}

# A popup menu is open.
menu_open()
{
    windows | grep -q "^window"$'\t'".*"$'\t'"#32768"$'\t'
}

# The progress bar shows: a scan runs. Wine's controls are read from the window probe,
# not from the screen's pixels as lan-lib.sh does for the Qt program.
scanning()
{
    windows | grep -q $'\t'"msctls_progress32"$'\t'
}

# A copy of Ostrel.exe in the admin namespace, its process id in copyPid: not through a shell
# function, whose background copy would be a shell of its own. What it says goes to copyLog if
# set, otherwise to Wine's log.
start_copy()
{
    ip netns exec "$TESTLAN_ADMIN" "$wine" "$ostrel" >>"${copyLog:-$wineLog}" 2>&1 &
    copyPid=$!
    TESTLAN_PIDS+=($!)
}

start_exe()
{
    start_copy
    TESTLAN_OSTREL_PID=$copyPid
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

# close_exe [PID]: the close a user makes, Alt+F4 on the main window of that copy (by default
# the one start_exe started), waited for.
close_exe()
{
    local pid=${1:-$TESTLAN_OSTREL_PID} window
    window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Ostrel 4\.1\.1' | head -1)
    [[ -n $window ]] || fail "no main window of copy $pid"
    # With no window manager, a click on its caption makes it Wine's active window.
    xdotool windowraise "$window"
    xdotool mousemove 640 6 click 1
    xdotool key alt+F4
    until_true 30 eval '! testlan_running $pid' || fail "Ostrel.exe $pid did not end"
}

# prepare_list ENTRY...: a list file of these entries, as written before the program starts.
prepare_list()
{
    mkdir -p "$(dirname "$listPath")"
    list_file "$@" >"$listPath"
}

# The text in the address dialog's edit box.
dialog_text()
{
    windows | awk -F'\t' '$1 == "window" { dialog = ($6 == "Add computer") }
        $1 == "control" && dialog && $5 == "Edit" { print $6; exit }'
}

dialog_text_is()
{
    [[ $(dialog_text) == "$1" ]]
}

# The address dialog is up; the keyboard goes to it. Without a window manager nothing moves the
# keyboard focus of the display to a window that Wine shows.
focus_dialog()
{
    local dialog
    until_true 10 title_is "Add computer" || fail "the address dialog did not open"
    dialog=$(xdotool search --onlyvisible --name '^Add computer$' | head -1)
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
}

# add_typed Save|Cancel TEXT [KEY...]: "Add computer", TEXT typed into the empty dialog, the keys
# pressed, which must leave the dialog up, then the button.
add_typed()
{
    local button=$1 text=$2
    shift 2
    click_control "Ostrel 4.1.1" "Add computer"
    focus_dialog
    until_true 10 dialog_text_is "" || fail "the dialog kept its last text: $(dialog_text)"
    xdotool type --delay 20 "$text"
    until_true 10 eval 'dialog_text_is "$text"' || fail "the typed text did not reach the dialog: $(dialog_text)"
    if (($#)); then
        xdotool key "$@"
        sleep 1
        title_is "Add computer" || fail "$* closed the dialog"
    fi
    click_control "Add computer" "$button"
    until_true 10 eval '! title_is "Add computer"' || fail "$button did not close the dialog"
}

testlan_up
testlan_start_xvfb
wine_prefix_prepare "$DISPLAY" "$wine" testlan_admin >>"$wineLog" 2>&1 || {
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
    expect_list_file
    # A list written elsewhere, with a letter of the ANSI code page: loaded, its rows drawn,
    # the entry that an agent names in other letter case marked online and not added again,
    # and written back byte for byte.
    prepare_list $'B\xFCro-PC:8080' "http://pc1:8080"
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8080
    start_exe
    until_true 20 eval 'row_drawn 0 && row_drawn 1' || fail "the loaded rows were not drawn"
    until_true 20 online 1 || fail "http://pc1:8080 not marked online"
    online 0 && fail "an entry that no agent named is online"
    row_drawn 2 && fail "the answering agent was added again"
    shot loaded
    close_exe
    expect_list_file $'B\xFCro-PC:8080' "http://pc1:8080"
    ;;

discovery)
    # The agents answer the first-show request, and later the scan, which finds a computer
    # that came up meanwhile; each request reaches them once. PC1 is loaded from the file, so
    # the rows keep their order whichever agent answers first.
    prepare_list "http://PC1:8080"
    testlan_add_computers 2
    testlan_start_agents "$sim" --web-port 8080 --requests "$work/requests.log"
    start_exe
    until_true 20 eval 'online 0 && online 1' || fail "the agents' computers did not show online"
    requests_are 1 || fail "the agents saw: $(cat "$work/requests.log")"
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8090
    click_control "Ostrel 4.1.1" "Find computers"
    until_true 5 scanning || fail "no scan started"
    until_true 10 online 2 || fail "the scan did not find PC3"
    shot scan
    requests_are 2 || fail "the agents saw: $(cat "$work/requests.log")"
    until_true 20 eval '! scanning' || fail "the scan did not end"
    first=$TESTLAN_OSTREL_PID
    # A second copy cannot have the discovery port: it says so when its window is made and
    # again at its first show, and runs on.
    start_copy
    second=$copyPid
    for box in creation first-show; do
        until_true 60 eval 'boxLine=$(window_line Ostrel) && [[ -n $boxLine ]]' || fail "no error box at the $box"
        control_line Ostrel "Could not bind socket. Address and port are already in use." | grep -q . \
            || fail "the $box box says: $(windows | grep -v 'Ostrel 4')"
        shot "bind-error-$box"
        # Without a window manager the box may lie under a main window.
        xdotool windowraise "$(xdotool search --onlyvisible --name '^Ostrel$' | head -1)"
        click_control Ostrel OK
        until_true 10 eval '! windows | cut -f2 | grep -qx "$(cut -f2 <<<"$boxLine")"' \
            || fail "the $box box did not go"
    done
    until_true 20 eval '(($(xdotool search --onlyvisible --name "^Ostrel 4.1.1$" | wc -l) == 2))' \
        || fail "the second copy's window did not show"
    testlan_running "$second" || fail "the second copy did not run on"
    testlan_running "$first" || fail "the first copy ended"
    # The copy that closes last writes the list.
    close_exe "$second"
    close_exe "$first"
    expect_list_file "http://PC1:8080" "http://PC2:8080" "http://PC3:8090"
    ;;

list)
    prepare_list "A:8080" "B:8080"
    start_exe
    until_true 20 eval 'row_drawn 0 && row_drawn 1' || fail "the loaded rows were not drawn"
    # A right-click selects the row under the pointer without opening it and opens the entry
    # menu; below the last row it opens none and leaves the selection.
    click_row 1 3
    until_true 10 menu_open || fail "the entry menu did not open"
    row_selected 1 || fail "the right-clicked row was not selected"
    shot entry-menu
    xdotool key Escape
    until_true 10 eval '! menu_open' || fail "the entry menu did not close"
    # Nor does the keyboard open it, with a row selected and the list holding the focus.
    xdotool key shift+F10 Menu
    sleep 1
    menu_open && fail "the keyboard opened the entry menu"
    xdotool mousemove "$(row_x)" "$(row_y 3)" click 3
    sleep 1
    menu_open && fail "a menu opened below the last row"
    row_selected 1 || fail "a right-click below the last row changed the selection"
    [[ -z $(status_text) ]] || fail "a right-click opened the entry: $(status_text)"
    # Add, cancelled and then saved; the text goes in as typed. Enter and Escape in the edit box
    # neither save nor close.
    add_typed Cancel "X:8080" Return Escape
    add_typed Save "C:8080"
    until_true 10 row_drawn 2 || fail "the added entry did not show"
    # Edit shows the entry's text, which typing replaces.
    click_row 0 3
    until_true 10 menu_open || fail "the entry menu did not open for Edit"
    xdotool key e
    focus_dialog
    until_true 10 eval 'dialog_text_is "A:8080"' || fail "Edit did not show the entry's text: $(dialog_text)"
    xdotool type --delay 20 "A2:8080"
    until_true 10 eval 'dialog_text_is "A2:8080"' || fail "typing did not replace the text: $(dialog_text)"
    click_control "Add computer" Save
    until_true 10 eval '! title_is "Add computer"' || fail "the edit dialog did not close"
    row_selected 0 || fail "the edited entry is no longer selected"
    # Delete removes the selected entry and leaves no row selected.
    click_row 1 3
    until_true 10 menu_open || fail "the entry menu did not open for Delete"
    xdotool key d
    until_true 10 eval '! row_drawn 2' || fail "Delete removed no entry"
    row_selected 0 || row_selected 1 && fail "a row is selected after Delete"
    shot after-delete
    close_exe
    expect_list_file "A2:8080" "C:8080"
    ;;

viewer)
    # Wine has no HTML engine here: the blank page never completes, so an open operation waits
    # on, reading the ready state, until the program ends. Wine's trace of the web view tells
    # when the view was navigated and when its ready state was first read.
    mkfifo "$work/trace"
    awk '/WebBrowser_Navigate / { print; read = 0 }
        /WebBrowser_Invoke .*->\(-525 / && !read { print; read = 1 }' <"$work/trace" >"$work/trace.log" &
    tracer=$!
    # Should the program never open the pipe, the clean-up ends the filter's wait for it.
    TESTLAN_PIDS+=($tracer)
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8080
    WINEDEBUG=+timestamp,+ieframe copyLog="$work/trace" start_exe
    until_true 20 online 0 || fail "PC1 not online"
    label=$(status_line | cut -f2)
    testlan_admin "$wine" "$probe" watch "$label" 4 >"$work/status.log" 2>>"$wineLog" &
    watcher=$!
    until_true 10 test -s "$work/status.log" || fail "the status label's watch did not start"
    click_row 0
    wait "$watcher"
    shot waiting
    [[ $(sed -n 2p "$work/status.log" | tr -d '\r') == "Connecting..." ]] \
        || fail "the status label read: $(tr '\r\n' ' |' <"$work/status.log")"
    # Closed during the wait, the program ends and saves its list.
    close_exe
    wait "$tracer"
    expect_list_file "http://PC1:8080"
    navigations=$(grep -c 'WebBrowser_Navigate ' "$work/trace.log") || true
    ((navigations == 1)) || fail "the wait ended: $(cat "$work/trace.log")"
    grep -q 'WebBrowser_Navigate .*L"about:blank"' "$work/trace.log" || fail "not blanked first: $(cat "$work/trace.log")"
    waited=$(awk -F: 'NR == 1 { start = $1 } NR == 2 { printf "%d", ($1 - start) * 1000 }' "$work/trace.log")
    echo "the ready state was first read $waited ms after the blank page was asked for"
    ((waited >= 1000)) || fail "the ready state was read $waited ms after the blank page was asked for"
    ;;

*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASS ($scenario)"
