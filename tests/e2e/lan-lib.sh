# shellcheck shell=bash
# What the end-to-end tests on the simulated LAN share. A test sources it with its own
# arguments (OSTREL AGENT_SIM SCENARIO); it brings in scripts/testlan.sh, makes a work
# folder that goes at exit along with the LAN, and defines the helpers below.
# Screenshots go to $OSTREL_E2E_SHOTS (default: inside the work folder), named after
# the test and the scenario.

ostrel=$(realpath "$1")
sim=$(realpath "$2")
scenario=$3
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/testlan.sh"

work=$(mktemp -d)
data="$work/data"
shots=${OSTREL_E2E_SHOTS:-$work/shots}
mkdir -p "$shots" "$data/Mervane"
lan_cleanup()
{
    testlan_down
    rm -rf "$work"
}
trap lan_cleanup EXIT

fail()
{
    echo "FAIL ($scenario): $*" >&2
    shot failure
    exit 1
}

shot()
{
    import -display "$DISPLAY" -window root "$shots/$(basename "$0" _lan_test.sh)-$scenario-$1.png" 2>/dev/null || true
}

title_is()
{
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

pixel()
{
    import -display "$DISPLAY" -window root "$work/now.png" 2>/dev/null || return 1
    convert "$work/now.png" -format "%[pixel:p{$1,$2}]" info:
}

pixel_is()
{
    [[ $(pixel "$1" "$2") == "$3" ]]
}

# The list's top left corner on the screen: the window is maximised at the origin without a
# frame. Rows are 50 high; the row helpers below count from here.
listLeft=1
listTop=101

# The online badge's green at the top left of row N's icon.
online()
{
    pixel_is $((listLeft + 11)) $((listTop + 13 + 50 * $1)) "srgb(0,204,51)"
}

# The rows' middle across, on the screen.
row_x()
{
    echo $((listLeft + 141))
}

# Row N's vertical middle on the screen.
row_y()
{
    echo $((listTop + 25 + 50 * $1))
}

# Row N shows its computer icon: the window is up and takes input.
row_drawn()
{
    [[ $(pixel $((listLeft + 25)) $((listTop + 23 + 50 * $1))) != "srgb(255,255,255)" ]]
}

# Row N's fill below its text, which a long text would cover at the row's middle.
row_selected()
{
    pixel_is $((listLeft + 269)) $(($(row_y "$1") + 18)) "srgb(208,229,255)"
}

# Row N is selected, and the entry menu opened at the pointer covers its colour there.
menu_shown()
{
    row_selected "$1" && ! pixel_is $(($(row_x) + 20)) $(($(row_y "$1") + 8)) "srgb(208,229,255)"
}

# click_row N [BUTTON]: a left click is tried again while the row does not turn
# selected: a click that comes while the window settles after its first show
# can go unseen.
click_row()
{
    local button=${2:-1} tries
    until_true 30 row_drawn "$1" || fail "row $1 was not drawn"
    for ((tries = 0; tries < 3; tries++)); do
        xdotool mousemove "$(row_x)" "$(row_y "$1")" click "$button"
        ((button == 1)) || return 0
        until_true 2 row_selected "$1" && return 0
    done
    fail "row $1 did not take the click"
}

# The mark that starts a list file the program writes anew: its ANSI code page is UTF-8 here.
listMark='\xEF\xBB\xBF'

# The list file exactly as the program writes it: the mark, CR LF lines.
list_file()
{
    local index=0 name
    printf "$listMark"'[General]\r\nComputers=%d\r\n\r\n' $#
    for name in "$@"; do
        printf '[%d]\r\nName=%s\r\n\r\n' $index "$name"
        index=$((index + 1))
    done
}

# Where the program keeps its list file.
listPath="$data/Mervane/list.dat"

# entries [FILE]: the entries of a list file (by default the program's), one a line.
entries()
{
    { grep -a '^Name=' "${1:-$listPath}" || true; } | tr -d '\r' | sed 's/^Name=//'
}

# expect_list_file ENTRY...: the list file holds exactly the bytes the program writes for
# these entries.
expect_list_file()
{
    list_file "$@" >"$work/expected.dat"
    cmp -s "$work/expected.dat" "$listPath" || {
        od -c "$listPath" | head -40 >&2
        fail "list file differs from: $*"
    }
}

# expect_entries ENTRY...: the list file holds these entries in this order, however written.
expect_entries()
{
    local names
    names=$(entries | paste -sd '|')
    [[ $names == "$(IFS='|'; echo "$*")" ]] || fail "the list file holds [$names], not [$(IFS='|'; echo "$*")]"
}

# The progress bar, bottom left, shows only while a scan runs; its empty part is white.
scanning()
{
    pixel_is 270 787 "srgb(255,255,255)"
}

# The requests the agents' side saw, as the simulator logs them (--requests).
requests_are()
{
    local expected
    expected=$(printf 'FROM 10.77.0.1:8081 TO 255.255.255.255:8082 Hello, KVD\n%.0s' $(seq "$1"))
    [[ $(cat "$work/requests.log" 2>/dev/null) == "$expected" ]]
}

# start_ostrel [NAME=VALUE...]: with those in its environment.
start_ostrel()
{
    testlan_ostrel "$data" "$ostrel" "$@"
    until_true 60 title_is "Ostrel 4.1.1" || fail "the main window did not show"
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
