#!/usr/bin/env bash
# The Debian package as an administrator meets it: made from this build and checked, by lintian
# too, installed into the machine, used in turn by two fresh ordinary users on the test LAN with
# the web engine's sandbox on, installed again over a broken folder rule, removed and purged. The
# machine is left as it was found, also on failure; where Ostrel is installed already or
# /var/lib/Mervane exists, the test would change them, so it is skipped.
# Usage: package_lan_test.sh OSTREL AGENT_SIM install CPACK_CONFIG
set -euo pipefail

. "$(dirname "$(realpath "$0")")/lan-lib.sh" "$@"
config=$(realpath "$4")
folder=/var/lib/Mervane
list=$folder/list.dat
desktopEntry=/usr/share/applications/example.mervane.ostrel.desktop
metainfo=/usr/share/metainfo/example.mervane.ostrel.metainfo.xml

status=$(dpkg-query -W -f='${db:Status-Status}' ostrel 2>/dev/null || true)
if [[ -n $status && $status != not-installed ]] || [[ -e $folder || -L $folder ]]; then
    echo "SKIP: Ostrel is installed here ($status) or $folder exists; this test would change them"
    exit 77
fi

installed=0
users=()
leave_machine_as_found()
{
    testlan_down || true
    if ((installed)) && ! dpkg --purge ostrel >"$work/purge.log" 2>&1; then
        cat "$work/purge.log" >&2
        echo "package: could not purge ostrel; the machine still has it" >&2
    fi
    # Nothing stood there before the test.
    rm -rf "$folder"
    local user
    for user in "${users[@]}"; do
        userdel --remove "$user" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap leave_machine_as_found EXIT

# The file list, every path the package holds that is not a folder.
expected_files()
{
    local size
    echo ./usr/bin/ostrel
    echo .$desktopEntry
    echo ./usr/share/doc/ostrel/changelog.gz
    echo ./usr/share/doc/ostrel/copyright
    for size in 16 24 32 48 64 72 96 128 256; do
        echo "./usr/share/icons/hicolor/${size}x$size/apps/ostrel.png"
    done
    echo ./usr/share/icons/hicolor/scalable/apps/ostrel.svg
    echo ./usr/share/man/man1/ostrel.1.gz
    echo .$metainfo
}

# rule_is PATH ACL: the whole ACL of PATH, access and default entries, one line each.
rule_is()
{
    local acl
    acl=$(getfacl --omit-header --absolute-names "$1" | grep . | paste -sd ' ')
    [[ $acl == "$2" ]] || fail "$1 has the ACL [$acl], not [$2]"
}
folderRule="user::rwx group::rwx other::rwx default:user::rwx default:group::rwx default:other::rwx"
fileRule="user::rw- group::rw- other::rw-"

# The installed program's list file's entries, "|" between them.
saved_entries()
{
    entries "$list" | paste -sd '|'
}

# expect_saved_by UID ENTRIES: the list file holds ENTRIES ("|" between them), written by UID
# under the folder's rule.
expect_saved_by()
{
    [[ $(saved_entries) == "$2" ]] || fail "uid $1 saved [$(saved_entries)], not [$2]"
    [[ $(stat -c %u "$list") == "$1" ]] || fail "the list was not saved by uid $1"
    rule_is "$list" "$fileRule"
}

# new_user NAME: a fresh ordinary user with a home of its own; its uid in newUid.
new_user()
{
    useradd --create-home --user-group --shell /bin/sh "$1"
    users+=("$1")
    newUid=$(id -u "$1")
}

# as_user NAME CMD...: CMD in the admin namespace as that user, with a login's environment
# and nothing of the test's; the process id, which CMD's becomes, in userPid.
as_user()
{
    local user=$1 home
    shift
    home=$(getent passwd "$user" | cut -d: -f6)
    ip netns exec "$TESTLAN_ADMIN" setpriv --reuid="$user" --regid="$user" --init-groups \
        env -i HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" "$@" &
    userPid=$!
    TESTLAN_PIDS+=("$userPid")
}

# The web engine's processes that run as uid: none told to run unsandboxed, and the page
# processes (forked from the engine's sandboxed zygote, whose command line they keep) confined
# by a system-call filter in a user namespace apart from the program's.
check_sandboxed_pages()
{
    local uid=$1 program=$2 process confined=0
    for process in $(pgrep -u "$uid" -f QtWebEngineProcess); do
        tr '\0' '\n' <"/proc/$process/cmdline" | grep -qx -- --no-sandbox && fail "engine process $process runs with --no-sandbox"
        grep -q $'^Seccomp:\t2$' "/proc/$process/status" \
            && [[ $(readlink "/proc/$process/ns/user") != "$(readlink "/proc/$program/ns/user")" ]] \
            && confined=$((confined + 1))
    done
    ((confined > 0)) || fail "no confined page process of uid $uid"
}

echo "package: made from this build"
cpack --config "$config" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$(dirname "$config")/CMakeCache.txt")
deb=$work/package/ostrel_${version}_amd64.deb
[[ -f $deb ]] || fail "no $(basename "$deb") among: $(ls "$work/package")"
[[ $(dpkg-deb --field "$deb" Version) == "$version" ]] || fail "the package's version is not $version"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6webenginecore6 (>=' || fail "the dependencies were not computed"
actual=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[[ $actual == "$(expected_files | sort)" ]] || fail "the package holds: $actual"

echo "package: lintian"
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log" >&2; fail "lintian found faults"; }

echo "package: its desktop entry, metadata and manual page"
mkdir "$work/root"
dpkg-deb --extract "$deb" "$work/root"
desktop-file-validate "$work/root$desktopEntry" || fail "desktop-file-validate refused the desktop entry"
appstreamcli validate --no-net "$work/root$metainfo" || fail "appstreamcli refused the metadata"
manWarnings=$(man --warnings -E UTF-8 -l "$work/root/usr/share/man/man1/ostrel.1.gz" 2>&1 >/dev/null)
[[ -z $manWarnings ]] || fail "the manual page has faults: $manWarnings"

echo "package: installed"
installed=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=120 "$deb" \
    >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "the package did not install"; }
[[ $(stat -c '%a %U' "$folder") == "777 root" ]] || fail "the folder is $(stat -c '%a %U' "$folder")"
rule_is "$folder" "$folderRule"

testlan_up
testlan_start_xvfb
testlan_add_computer PC1
testlan_start_agents "$sim" --web-port 8080
agents=${TESTLAN_PIDS[-1]}

echo "package: a first user starts it from its desktop entry and opens a discovered computer"
new_user "ostrel${TESTLAN_ID}a"
firstUid=$newUid
read -r -a command <<<"$(sed -n 's/^Exec=//p' "$desktopEntry")"
as_user "ostrel${TESTLAN_ID}a" "${command[@]}"
window=$(copy_window "$userPid") || fail "the first user's window did not show"
until_true 20 online 0 || fail "PC1 was not discovered"
click_row 0
until_true 20 title_is "Ostrel 4\.1\.1 - http://PC1:8080" || fail "the page did not load with the sandbox on"
check_sandboxed_pages "$firstUid" "$userPid"
end_copy "$userPid"
expect_saved_by "$firstUid" "http://PC1:8080"

echo "package: a second user loads that list from the shell and adds to it"
# With PC1's agent gone, the first row the second user sees can come only from the list file.
kill "$agents"
new_user "ostrel${TESTLAN_ID}b"
secondUid=$newUid
as_user "ostrel${TESTLAN_ID}b" ostrel
window=$(copy_window "$userPid") || fail "the second user's window did not show"
until_true 20 row_drawn 0 || fail "the second user does not see the first user's computer"
add_entry "$window" "Second-PC:8080"
end_copy "$userPid"
expect_saved_by "$secondUid" "http://PC1:8080|Second-PC:8080"

echo "package: installed again over a folder and list whose rule was lost"
chmod 1700 "$folder"
setfacl --remove-default "$folder"
chmod 0600 "$list"
setfacl --modify "user:ostrel${TESTLAN_ID}b:---" "$list"
dpkg --install "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "the package did not install again"; }
rule_is "$folder" "$folderRule"
[[ $(stat -c %a "$folder") == 777 ]] || fail "the folder kept mode $(stat -c %a "$folder")"
rule_is "$list" "$fileRule"
[[ $(saved_entries) == "http://PC1:8080|Second-PC:8080" ]] || fail "installing again changed the list"

echo "package: installed again where the list file is a link to a system file"
mv "$list" "$work/list.dat"
echo private >"$work/system-file"
chmod 0600 "$work/system-file"
ln -s "$work/system-file" "$list"
dpkg --install "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "the package did not install over the link"; }
[[ $(stat -c %a "$work/system-file") == 600 ]] || fail "installing changed the linked file's mode"
rule_is "$work/system-file" "user::rw- group::--- other::---"
rm "$list"
mv "$work/list.dat" "$list"

echo "package: removed, then purged"
dpkg --remove ostrel >/dev/null
[[ ! -e /usr/bin/ostrel ]] || fail "removing left the program"
[[ $(saved_entries) == "http://PC1:8080|Second-PC:8080" ]] || fail "removing did not keep the list"
echo kept >"$folder/another-program.dat"
dpkg --purge ostrel >/dev/null
installed=0
[[ ! -e $list && -e $folder/another-program.dat ]] || fail "purging did not remove just Ostrel's list"
rm "$folder/another-program.dat"
dpkg --install "$deb" >/dev/null
installed=1
dpkg --purge ostrel >/dev/null
installed=0
[[ ! -e $folder ]] || fail "purging left the folder"
echo "package: passed"
