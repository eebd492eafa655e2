#!/usr/bin/env bash
# scripts/setup.sh against a package archive having a bad day: apt-get, dpkg, dpkg-query, id
# and sleep are stand-ins on PATH, so nothing is installed and nothing waits.
set -euo pipefail
setup=$(realpath "$(dirname "$0")/../../scripts/setup.sh")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin="$work/bin"
mkdir "$bin"

# The stand-ins keep their state in $work: installed (one package a line), the number of
# updates that still fail, the packages no index provides, and a log of every call.
cat >"$bin/dpkg-query" <<'STANDIN'
#!/usr/bin/env bash
grep -qxF "${!#}" "$STANDIN/installed" 2>/dev/null || exit 1
printf 'install ok installed'
STANDIN
cat >"$bin/dpkg" <<'STANDIN'
#!/usr/bin/env bash
echo "dpkg $*" >>"$STANDIN/log"
[[ $1 == --print-foreign-architectures ]] && cat "$STANDIN/architectures" 2>/dev/null
true
STANDIN
cat >"$bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STANDIN/log"
if [[ $1 == update ]]; then
    failures=$(cat "$STANDIN/update-failures")
    if ((failures > 0)); then
        echo $((failures - 1)) >"$STANDIN/update-failures"
        echo "E: Failed to fetch binary-i386/Packages.xz  File has unexpected size. Mirror sync in progress?" >&2
        exit 100
    fi
    exit 0
fi
shift
packages=()
for argument; do [[ $argument == -* ]] || packages+=("$argument"); done
for package in "${packages[@]}"; do
    if grep -qxF "$package" "$STANDIN/unavailable"; then
        echo "The following packages have unmet dependencies:"
        echo " $package : Depends: libwine (= 8.0~repack-4) but it is not installable"
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100
    fi
done
printf '%s\n' "${packages[@]}" >>"$STANDIN/installed"
STANDIN
printf '#!/bin/sh\necho 0\n' >"$bin/id"
printf '#!/bin/sh\necho "sleep $*" >>"$STANDIN/log"\n' >"$bin/sleep"
chmod +x "$bin"/*

failures=0
fail()
{
    echo "FAIL ($scenario): $*" >&2
    sed 's/^/  | /' "$work/output" >&2
    failures=$((failures + 1))
}

# run_setup SCENARIO UPDATE_FAILURES UNAVAILABLE...: a machine with nothing installed.
run_setup()
{
    scenario=$1
    export STANDIN="$work/$scenario"
    mkdir "$STANDIN"
    echo "$2" >"$STANDIN/update-failures"
    shift 2
    printf '%s\n' "$@" >"$STANDIN/unavailable"
    status=0
    PATH="$bin:$PATH" "$setup" >"$work/output" 2>&1 || status=$?
}

calls()
{
    grep -c "^$1" "$STANDIN/log" || true
}

# One index out of step for a moment, and 32-bit Wine that cannot be had: setup succeeds,
# with every required package, and says in one line that the 64-bit build takes the tests.
run_setup flaky-index 1 wine32:i386
((status == 0)) || fail "setup failed with $status"
[[ $(calls "apt-get update") == 2 && $(calls sleep) == 1 ]] || fail "expected one retry after a pause"
grep -qxF qt6-webengine-dev "$STANDIN/installed" || fail "a required package was not installed"
grep -qxF 'wine32:i386' "$STANDIN/installed" && fail "wine32:i386 counted as installed"
[[ $(grep -c 'wine32:i386' "$work/output") == 2 ]] || fail "expected the install line and one line about wine32:i386"
grep -q 'wine32:i386 cannot be installed.*64-bit build' "$work/output" || fail "no word of the 64-bit fallback"

# An index that stays broken: setup goes on with what it has after a bounded number of tries.
run_setup broken-index 99
((status == 0)) || fail "setup failed with $status"
[[ $(calls "apt-get update") == 3 && $(calls sleep) == 2 ]] || fail "expected three tries with two pauses"
grep -qxF 'wine32:i386' "$STANDIN/installed" || fail "wine32:i386 not installed where it could be"

# A package the build needs cannot be installed: setup fails and says which and why.
run_setup missing-required 0 qt6-webengine-dev
((status != 0)) || fail "setup succeeded without qt6-webengine-dev"
grep -q 'cannot install qt6-webengine-dev, which the build needs' "$work/output" || fail "the package is not named"
grep -q 'qt6-webengine-dev : Depends' "$work/output" || fail "apt's reason is not given"

# Everything in place: nothing is asked of the archive.
scenario=complete
export STANDIN="$work/complete"
mkdir "$STANDIN"
echo i386 >"$STANDIN/architectures"
sed -n '/^required=(/,/^)/p; /^optional=(/p' "$setup" | tr ' ()' '\n' | grep -v '=\|^$' >"$STANDIN/installed"
PATH="$bin:$PATH" "$setup" >"$work/output" 2>&1 || fail "setup failed on a complete machine"
[[ ! -e $STANDIN/log || $(calls apt-get) == 0 ]] || fail "apt-get called on a complete machine"

((failures == 0)) && echo "setup: every scenario passed"
exit $((failures > 0))
