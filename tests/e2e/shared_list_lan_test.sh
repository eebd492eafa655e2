#!/usr/bin/env bash
# The shared list file end to end, and the hostile input the program must survive: the
# real program on the admin side of a test LAN (scripts/testlan.sh). Each scenario prints
# one line of figures. The test command runs a short form of each; STRESS=full runs them
# at the size scripts/stress.sh asks for.
# Usage: shared_list_lan_test.sh OSTREL AGENT_SIM SCENARIO
set -euo pipefail

. "$(dirname "$(realpath "$0")")/lan-lib.sh" "$@"
flood="$(dirname "$sim")/ostrel-flood"
full=$([[ ${STRESS:-} == full ]] && echo 1 || echo 0)

# size SHORT FULL: the figure for this run.
size()
{
    ((full)) && echo "$2" || echo "$1"
}

figures()
{
    echo "FIGURES ($scenario): $*"
}

now_ms()
{
    date +%s%3N
}

# memory_mb PID FIELD: VmRSS (now) or VmHWM (peak) of the process, in MB; nothing once it has gone.
memory_mb()
{
    awk -v field="$2:" '$1 == field { printf "%d", $2 / 1024 }' "/proc/$1/status" 2>/dev/null || true
}

# list_of_size N [EXTRA...]: a list file of N numbered entries, then EXTRA, as the program writes it.
list_of_size()
{
    local count=$1
    shift
    printf '\xEF\xBB\xBF'
    awk -v count="$count" -v extra="$*" 'BEGIN {
        n = split(extra, more, " ")
        printf "[General]\r\nComputers=%d\r\n\r\n", count + n
        for (i = 0; i < count; i++)
            printf "[%d]\r\nName=http://computer-%d.example:8080\r\n\r\n", i, i
        for (j = 1; j <= n; j++)
            printf "[%d]\r\nName=%s\r\n\r\n", count + j - 1, more[j]
    }'
}

# Datagrams of up to 8,193 bytes come whole only over a link that carries them.
widen_the_link()
{
    ip -n "$TESTLAN_ADMIN" link set "ov${TESTLAN_ID}a" mtu 9216
    ip -n "$TESTLAN_AGENTS" link set "ov${TESTLAN_ID}g" mtu 9216
}

# start_flood SECONDS [RATE]: hostile datagrams from unnamed addresses at the admin side's port 8081.
start_flood()
{
    testlan_agents "$flood" --to "$TESTLAN_ADMIN_ADDRESS" --port 8081 --rate "${2:-100000}" --seconds "$1" \
        --from 10.77.128.0/17 --seed "$RANDOM" >"$work/flood.log" 2>&1 &
    flooder=$!
}

# The titles of the windows shown, for a failure's message.
shown_titles()
{
    local window
    for window in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        xdotool getwindowname "$window" 2>/dev/null
    done | sort | uniq -c | tr -s ' \n' ' '
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

# two_copies_adding Y Z: two copies load the list x; the first adds Y, the second Z.
two_copies_adding()
{
    list_file "x" >"$data/Mervane/list.dat"
    start_two_copies
    add_entry "$firstWindow" "$1"
    add_entry "$secondWindow" "$2"
}

# The save lock that every save of the list holds from its read to its replace.
save_lock_held()
{
    ! flock --nonblock --shared "$data/Mervane/.list.dat.lock" true 2>/dev/null
}

# badge_shown: the online badge's green is somewhere on the screen.
badge_shown()
{
    import -display "$DISPLAY" -window root "$work/now.png" 2>/dev/null || return 1
    [[ $(convert "$work/now.png" -fill black +opaque "srgb(0,204,51)" -format "%[fx:maxima.g>0]" info:) == 1 ]]
}

# close_with_file_as COPY CHANGE...: runs CHANGE (another program's doing) on the list file,
# then closes COPY.
close_with_file_as()
{
    local copy=$1
    shift
    "$@"
    end_copy "$copy"
}

testlan_up
testlan_start_xvfb
xvfb=${TESTLAN_PIDS[-1]}

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
    expect_entries "http://PC1:8080" "Typed-PC:8080" "Added-PC:8080"
    ;;

two-copies)
    # Both copies load x; each adds an entry of its own through the dialog; whichever
    # closes last, the file ends with both.
    rounds=$(size 2 100)
    started=$SECONDS
    for ((round = 1; round <= rounds; round++)); do
        two_copies_adding "y$round" "z$round"
        if ((round % 2)); then
            end_copy "$first"
            end_copy "$second"
            expect_entries "x" "y$round" "z$round"
        else
            end_copy "$second"
            end_copy "$first"
            expect_entries "x" "z$round" "y$round"
        fi
    done
    figures "$rounds rounds, closing in either order by turns: both entries kept in all $rounds, $((SECONDS - started)) s"
    ;;

second-save)
    # Another copy adds y while this one, which added z, is up. A close during a scan saves and
    # leaves the window up until the scan ends; a second close then saves again.
    list_file "x" >"$data/Mervane/list.dat"
    start_ostrel
    copy=$TESTLAN_OSTREL_PID
    window=$(copy_window "$copy") || fail "the main window did not show"
    add_entry "$window" "z"
    list_file "x" "y" >"$data/Mervane/list.dat"
    xdotool mousemove 142 25 click 1
    until_true 5 scanning || fail "no scan started"
    kill -TERM "$copy"
    until_true 5 eval 'entries | grep -qx z' || fail "the close during the scan did not save"
    expect_entries "x" "y" "z"
    kill -TERM "$copy"
    until_true 30 eval '! testlan_running $copy' || fail "the program did not end after the scan"
    expect_entries "x" "y" "z"
    figures "two closes in one scan kept the other copy's entry"
    ;;

file-cut)
    # Another program empties the list file, or cuts it inside its last section, while a copy
    # runs: that says nothing of deletions, so the close keeps what was loaded and what was added.
    list_file "x" "y" >"$data/Mervane/list.dat"
    start_ostrel
    add_entry "$(copy_window "$TESTLAN_OSTREL_PID")" "z"
    close_with_file_as "$TESTLAN_OSTREL_PID" truncate -s 0 "$data/Mervane/list.dat"
    expect_entries "x" "y" "z"
    start_ostrel
    add_entry "$(copy_window "$TESTLAN_OSTREL_PID")" "w"
    cut=$(($(grep -abo 'Name=z' "$data/Mervane/list.dat" | cut -d: -f1) + 2))
    close_with_file_as "$TESTLAN_OSTREL_PID" truncate -s "$cut" "$data/Mervane/list.dat"
    expect_entries "x" "y" "z" "w"
    figures "a list file emptied and one cut at byte $cut while a copy ran: every entry kept"
    ;;

same-instant)
    # Two copies that each added an entry end at the same instant, as a shutdown ends them:
    # the saves follow one another and the file ends with both entries.
    rounds=$(size 2 100)
    started=$SECONDS
    for ((round = 1; round <= rounds; round++)); do
        two_copies_adding "y$round" "z$round"
        kill -TERM "$first" "$second"
        until_true 30 eval '! testlan_running $first && ! testlan_running $second' \
            || fail "round $round: the copies did not end; shown: $(shown_titles)"
        names=$(entries | sort | paste -sd ' ')
        [[ $names == "x y$round z$round" ]] || fail "round $round: the list file holds [$names]"
    done
    figures "$rounds rounds of two copies ended at once: both entries kept in all $rounds, $((SECONDS - started)) s"
    ;;

display-gone)
    # The X server goes away before any end signal, as at the end of a session without a
    # session manager: the program ends, and saves what was added first.
    list_file "x" >"$data/Mervane/list.dat"
    start_ostrel
    copy=$TESTLAN_OSTREL_PID
    add_entry "$(copy_window "$copy")" "Added-PC:8080"
    kill -TERM "$xvfb"
    until_true 30 eval '! testlan_running $copy' || fail "the program outlived its display"
    expect_entries "x" "Added-PC:8080"
    figures "the display went away after an addition: the list was saved"
    ;;

display-gone-wayland)
    # The same on Wayland, where Qt's platform ends the process past exit handlers when the
    # compositor goes: weston inside the X server, and the computer that answered the start's
    # request is what the run added.
    list_file "x" >"$data/Mervane/list.dat"
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8080
    runtime="$work/runtime"
    mkdir -m 700 "$runtime"
    ip netns exec "$TESTLAN_ADMIN" env DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$runtime" \
        weston --backend=x11-backend.so --socket=ostrel-wayland --idle-time=0 >"$work/weston.log" 2>&1 &
    weston=$!
    TESTLAN_PIDS+=("$weston")
    until_true 20 test -S "$runtime/ostrel-wayland" || fail "weston did not start: $(tail -n 3 "$work/weston.log")"
    testlan_ostrel "$data" "$ostrel" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=ostrel-wayland XDG_RUNTIME_DIR="$runtime"
    copy=$TESTLAN_OSTREL_PID
    # weston draws into the X server, so the online badge's green shows on its screen.
    until_true 60 badge_shown || fail "the answering computer was not shown online"
    kill -TERM "$weston"
    until_true 30 eval '! testlan_running $copy' || fail "the program outlived its compositor"
    expect_entries "x" "http://PC1:8080"
    figures "the compositor went away after a computer answered: the list was saved"
    ;;

kill-during-save)
    # A save cut short by SIGKILL leaves the old file or the new one, never a mix, and a
    # temporary file that the next save removes. A whole save is timed first, from taking its
    # lock to letting go; each kill then comes a random moment into a save of that length.
    count=$(size 20000 100000)
    rounds=$(size 6 100)
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8080
    list_of_size "$count" >"$work/old.dat"
    # The agent's reply adds its computer: that is what the save changes.
    list_of_size "$count" "http://PC1:8080" >"$work/new.dat"
    # start_save: a copy on the old list, asked to end; returns once its save holds the lock.
    start_save()
    {
        cp "$work/old.dat" "$data/Mervane/list.dat"
        testlan_ostrel "$data" "$ostrel"
        copy_window "$TESTLAN_OSTREL_PID" >/dev/null || fail "the main window did not show; shown: $(shown_titles)"
        sleep 1
        kill -TERM "$TESTLAN_OSTREL_PID"
        local deadline=$((SECONDS + 10))
        until save_lock_held; do
            ((SECONDS < deadline)) || fail "no save began"
        done
    }
    start_save
    began=$(now_ms)
    while save_lock_held; do :; done
    saveMs=$(($(now_ms) - began))
    until_true 10 eval '! testlan_running $TESTLAN_OSTREL_PID' || fail "the timed save did not end"
    cmp -s "$work/new.dat" "$data/Mervane/list.dat" || fail "the timed save did not write the new list"
    cut=0 new=0 mostLeftovers=0
    for ((round = 1; round <= rounds; round++)); do
        start_save
        delay=$(((RANDOM * 32768 + RANDOM) % (saveMs * 6 / 5 + 1)))
        sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
        kill -KILL "$TESTLAN_OSTREL_PID" 2>/dev/null || true
        until_true 10 eval '! testlan_running $TESTLAN_OSTREL_PID' || fail "round $round: the program did not end"
        if cmp -s "$work/old.dat" "$data/Mervane/list.dat"; then
            cut=$((cut + 1))
        elif cmp -s "$work/new.dat" "$data/Mervane/list.dat"; then
            new=$((new + 1))
        else
            cp "$data/Mervane/list.dat" "$work/broken.dat"
            fail "round $round: the list file is neither the old list nor the new one"
        fi
        leftovers=$(find "$data/Mervane" -name '.list.dat.saving.*' | wc -l)
        ((leftovers > mostLeftovers)) && mostLeftovers=$leftovers
        ((leftovers <= 1)) || fail "round $round: $leftovers temporary files left"
    done
    # A close that runs to its end leaves none.
    testlan_ostrel "$data" "$ostrel"
    copy_window "$TESTLAN_OSTREL_PID" >/dev/null || fail "the last copy's window did not show"
    end_copy "$TESTLAN_OSTREL_PID"
    [[ -z $(find "$data/Mervane" -name '.list.dat.saving.*') ]] || fail "a temporary file outlived a whole save"
    figures "a whole $count-entry save took $saveMs ms; $rounds kills during one: old list kept $cut," \
        "new list whole $new, broken 0; at most $mostLeftovers temporary file after a kill, none after the next whole save"
    ((cut > 0)) || fail "no kill landed during a save"
    ;;

two-users)
    # Two users whose umask is 077 take turns, each loading what the other saved, adding and
    # saving: in the folder the program makes, with its default ACL, and in one made by hand
    # without one, where only the file's own mode lets the other user in.
    chmod 0777 "$data"
    chmod 0755 "$work"
    modes=()
    for folder in made hand; do
        rm -rf "$data/Mervane"
        [[ $folder == hand ]] && install -d -m 0777 "$data/Mervane"
        for user in 4101 4102; do
            mkdir -p "$work/home-$user"
            chown "$user:$user" "$work/home-$user"
            ip netns exec "$TESTLAN_ADMIN" unshare -m sh -c '
                mount --make-rprivate / && mount --bind "$1" /var/lib && umask 077 && shift && exec "$@"' \
                sh "$data" setpriv --reuid="$user" --regid="$user" --clear-groups env HOME="$work/home-$user" \
                QTWEBENGINE_DISABLE_SANDBOX=1 DISPLAY="$DISPLAY" "$ostrel" &
            TESTLAN_PIDS+=($!)
            window=$(copy_window $!) || fail "user $user, $folder folder: the main window did not show"
            add_entry "$window" "User$user-$folder-PC:8080"
            end_copy "${TESTLAN_PIDS[-1]}"
        done
        expect_entries "User4101-$folder-PC:8080" "User4102-$folder-PC:8080"
        mode=$(stat -c %a "$data/Mervane/list.dat")
        [[ $mode == 666 ]] || fail "$folder folder: the list file's mode is $mode"
        modes+=("$folder folder: file mode $mode, owner $(stat -c %u "$data/Mervane/list.dat")")
    done
    figures "users 4101 and 4102 (umask 077) each saved what the other saved; $(printf '%s; ' "${modes[@]}" | sed 's/; $//')"
    ;;

hostile-datagrams)
    # A flood during a scan: the program stays up, small and answering, and lists no sender
    # that the reply rules refuse (the flood's addresses have no names).
    seconds=$(size 3 10)
    widen_the_link
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8080
    start_ostrel
    copy=$TESTLAN_OSTREL_PID
    until_true 20 online 0 || fail "PC1 was not discovered"
    xdotool mousemove 142 25 click 1
    until_true 5 scanning || fail "no scan started"
    before=$(memory_mb "$copy" VmRSS)
    most=$before
    start_flood "$seconds"
    deadline=$((SECONDS + seconds))
    shown=""
    while ((SECONDS < deadline)); do
        current=$(memory_mb "$copy" VmRSS)
        [[ -n $current ]] || fail "the program ended during the flood"
        ((current > most)) && most=$current
        if [[ -z $shown ]] && ((SECONDS >= deadline - seconds / 2)); then
            clicked=$(now_ms)
            xdotool mousemove 142 74 click 1
            until_true 10 eval 'dialog=$(xdotool search --onlyvisible --name "^Add computer$" 2>/dev/null | head -1) && [[ -n $dialog ]]' \
                || fail "the address dialog did not show during the flood"
            shown=$(($(now_ms) - clicked))
            eval "$(xdotool getwindowgeometry --shell "$dialog")"
            xdotool mousemove $((X + 235)) $((Y + 94)) click 1
        fi
        sleep 0.2
    done
    wait "$flooder" || true
    testlan_running "$copy" || fail "the program ended during the flood"
    after=$(memory_mb "$copy" VmRSS)
    end_copy "$copy"
    unexpected=$(entries | grep -vx 'http://PC1:8080' || true)
    figures "$(cat "$work/flood.log");" "RSS before ${before} MB, at most ${most} MB (+$((most - before))), after ${after} MB;" \
        "dialog shown ${shown} ms after the click; entries beyond the agent's: $(wc -w <<<"$unexpected")"
    [[ -z $unexpected ]] || fail "entries the reply rules refuse: $unexpected"
    ((most - before <= 50)) || fail "RSS grew by $((most - before)) MB"
    ((shown <= 500)) || fail "the dialog showed ${shown} ms after the click"
    ;;

junk-flood)
    # 200 named hosts send junk replies, each a new entry: the memory the program keeps for
    # them stays a small multiple of their texts. A junk reply's text is everything after its
    # first colon, about 4,000 random bytes here, half of them U+FFFD in the text: 8 KB of UTF-8.
    # An entry may take four times that, 32 KB.
    seconds=$(size 3 8)
    widen_the_link
    testlan_add_computers 200 Junk
    start_ostrel
    copy=$TESTLAN_OSTREL_PID
    sleep 2
    before=$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$copy/status")
    testlan_agents "$flood" --to "$TESTLAN_ADMIN_ADDRESS" --port 8081 --rate 1000 --seconds "$seconds" \
        --from 10.77.1.0/24 --seed "$RANDOM" >"$work/flood.log" 2>&1
    sleep 3
    after=$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$copy/status")
    end_copy "$copy"
    count=$(entries | wc -l)
    ((count > 0)) || fail "the flood made no entry"
    perEntry=$(((after - before) / count))
    figures "$(cat "$work/flood.log"); $count entries ($(stat -c %s "$listPath") bytes saved);" \
        "RSS before $((before / 1024)) MB, after $((after / 1024)) MB, $perEntry KB an entry"
    ((perEntry <= 32)) || fail "an entry takes $perEntry KB"
    ;;

flood-shutdown)
    # SIGTERM while a flood runs: each run ends within 2 s and saves its list.
    runs=$(size 3 50)
    widen_the_link
    testlan_add_computers 1
    testlan_start_agents "$sim" --web-port 8080
    slowest=0 total=0 late=0 unsaved=0
    for ((run = 1; run <= runs; run++)); do
        rm -f "$data/Mervane/list.dat"
        testlan_ostrel "$data" "$ostrel"
        copy=$TESTLAN_OSTREL_PID
        copy_window "$copy" >/dev/null || fail "run $run: the main window did not show"
        start_flood 10
        sleep "$(printf '%d.%03d' $((RANDOM % 2)) $((RANDOM % 1000)))"
        asked=$(now_ms)
        kill -TERM "$copy"
        until_true 30 eval '! testlan_running $copy' || fail "run $run: the program did not end within 30 s"
        took=$(($(now_ms) - asked))
        kill "$flooder" 2>/dev/null || true
        wait "$flooder" 2>/dev/null || true
        ((took > slowest)) && slowest=$took
        total=$((total + took))
        ((took <= 2000)) || late=$((late + 1))
        grep -q 'Computers=' "$data/Mervane/list.dat" 2>/dev/null || unsaved=$((unsaved + 1))
    done
    figures "$runs runs: ended in $((total / runs)) ms on average, slowest $slowest ms; over 2 s: $late; list not saved: $unsaved"
    ((late == 0 && unsaved == 0)) || fail "$late runs took over 2 s, $unsaved did not save"
    ;;

hostile-files)
    # Files no copy writes: a clear error or a correct load, never a crash or a hang, in bounded
    # memory. The bounds grow with what the program reads of a file: its first 64 MB at most,
    # and of those its text, up to the first NUL. The window within 5 s plus 0.5 s a MB of text;
    # the peak RSS within 400 MB, plus the MB read, plus 24 MB a MB of text, what a list of
    # short entries takes. A debug build meets them too.
    summary=()
    kinds=(random million huge-count deep-brackets directory fifo sparse-2G)
    ((full)) && kinds+=(sparse-64G)
    for kind in "${kinds[@]}"; do
        list="$data/Mervane/list.dat"
        rm -rf "$list"
        expected=""
        case $kind in
        random) head -c "$(size 10 100)M" /dev/urandom >"$list" ;;
        million)
            count=$(size 100000 1000000)
            list_of_size "$count" >"$list"
            expected=$count
            ;;
        huge-count)
            printf '[General]\r\nComputers=2147483647\r\n[7]\r\nName=a\r\n[2147483646]\r\nName=b\r\n' >"$list"
            expected=2
            ;;
        deep-brackets)
            { printf '[General]\r\nComputers=1\r\n'; head -c 5000000 /dev/zero | tr '\0' '['; printf '\r\n[0]\r\nName='
              head -c 5000000 /dev/zero | tr '\0' ']'; printf '\r\n'; } >"$list"
            expected=1
            ;;
        directory) mkdir "$list" ;;
        fifo) mkfifo "$list" ;;
        sparse-*)
            # A list, then zeros to the size: the text ends at the first of them.
            list_of_size 10 >"$list"
            truncate -s "${kind#sparse-}" "$list"
            expected=10
            ;;
        esac
        readMb=0 textMb=0
        if [[ -f $list ]]; then
            readMb=$((($(stat -c %s "$list") < 64 << 20 ? $(stat -c %s "$list") : 64 << 20) >> 20))
            textBytes=$(head -c $((64 << 20)) "$list" | tr '\0\n' '\n\001' | head -n 1 | wc -c || true)
            textMb=$((textBytes >> 20))
        fi
        windowBound=$((5000 + 500 * textMb))
        peakBound=$((400 + readMb + 24 * textMb))
        started=$(now_ms)
        testlan_ostrel "$data" "$ostrel"
        copy=$TESTLAN_OSTREL_PID
        copy_window "$copy" 'Ostrel( 4\.1\.1)?' >/dev/null || fail "$kind: the main window did not show"
        loaded=$(($(now_ms) - started))
        peak=$(memory_mb "$copy" VmHWM)
        kill -TERM "$copy"
        # No file can take a folder's place: the close says so, and ends once that is read.
        [[ $kind == directory ]] && dismiss_box_titled Ostrel "the save over a folder"
        # The peak of the load and of the save, which reads the file again.
        for ((wait = 0; wait < 600; wait++)); do
            now=$(memory_mb "$copy" VmHWM)
            [[ -n $now ]] && testlan_running "$copy" || break
            peak=$now
            sleep 0.1
        done
        # An ending process gives up its memory a moment before it is gone: the loop above
        # can stop in between.
        until_true 10 eval '! testlan_running $copy' || fail "$kind: the program did not end"
        ((loaded <= windowBound)) || fail "$kind: the window showed after $loaded ms, over $windowBound ms"
        ((peak <= peakBound)) || fail "$kind: peak RSS $peak MB, over $peakBound MB"
        if [[ -d $list ]]; then
            outcome="kept as it was, the save refused with an error box"
        elif [[ -n $expected ]]; then
            got=$(entries | wc -l)
            ((got == expected)) || fail "$kind: $got entries saved, not $expected"
            outcome="$got entries loaded and saved"
        else
            # Random bytes hold no list, and a FIFO is no file: both are replaced by the empty list.
            [[ -f $list && ! -p $list ]] || fail "$kind: no list file was written in its place"
            got=$(entries | wc -l)
            ((got == 0)) || fail "$kind: $got entries saved from a file that holds none"
            grep -aq '^Computers=0' "$list" || fail "$kind: the file written is not the empty list"
            outcome="replaced by the empty list"
        fi
        summary+=("$kind: window after $loaded ms (bound $windowBound), peak RSS $peak MB (bound $peakBound), $outcome")
    done
    figures "$(printf '%s; ' "${summary[@]}" | sed 's/; $//')"
    ;;

*)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASS ($scenario)"
