#!/usr/bin/env bash
# Installs the Debian 12 packages Ostrel needs to build, run and test.
# Safe to run again: it installs only what is missing. A package archive that is out of step
# for a while (a mirror in the middle of a sync) stops it only when a package the build needs
# cannot be had.
set -euo pipefail

required=(
    cmake ninja-build g++ clang clang-format pkg-config git
    qt6-base-dev qt6-webengine-dev qt6-qpa-plugins libgl-dev libxcb1-dev
    libacl1-dev libcpp-httplib-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-i686-posix googletest wine
    g++-mingw-w64-x86-64-posix wine64
    xvfb xauth imagemagick librsvg2-bin fonts-dejavu-core fonts-liberation xdotool python3
    weston qt6-wayland
    iproute2 util-linux acl procps
    dpkg-dev file desktop-file-utils appstream man-db passwd lintian
    python3-pyatspi at-spi2-core dbus-daemon
)
# 32-bit Wine runs the Windows tests on the 32-bit build as it ships. Without it (no i386
# index today, or a kernel without 32-bit support) they run on the 64-bit build under wine64.
optional=(wine32:i386)

update_attempts=3
update_pause=10

missing_of() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || echo "$package"
    done
}

# A failed index is often a mirror in the middle of a sync: try again after a pause, then go
# on with the indexes there are; the install below says what they could not provide.
update_indexes() {
    local attempt
    for ((attempt = 1; attempt <= update_attempts; attempt++)); do
        apt-get update -q && return 0
        if ((attempt < update_attempts)); then
            echo "setup: apt-get update failed (attempt $attempt of $update_attempts); trying again in ${update_pause} s" >&2
            sleep "$update_pause"
        fi
    done
    echo "setup: apt-get update failed $update_attempts times; going on with the package indexes there are" >&2
}

# Installs the required packages all at once; when that fails, tries each alone so that the
# failure names the package and apt's reason.
install_required() {
    (($#)) || return 0
    apt-get install -y -q "$@" && return 0
    local package reason failed=false
    for package in $(missing_of "$@"); do
        if ! reason=$(apt-get install -y -q "$package" 2>&1); then
            echo "setup: cannot install $package, which the build needs:" >&2
            grep -E '^(E:| )' <<<"$reason" | sed 's/^/setup:   /' >&2 || true
            failed=true
        fi
    done
    if $failed; then
        exit 1
    fi
}

install_optional() {
    local package
    for package in "$@"; do
        apt-get install -y -q "$package" >/dev/null 2>&1 ||
            echo "setup: $package cannot be installed from the package indexes today; the Windows tests will run on the 64-bit build under wine64" >&2
    done
}

mapfile -t missing_required < <(missing_of "${required[@]}")
mapfile -t missing_optional < <(missing_of "${optional[@]}")

add_i386=false
dpkg --print-foreign-architectures | grep -qx i386 || add_i386=true

if ((${#missing_required[@]} + ${#missing_optional[@]})) || $add_i386; then
    if [[ $(id -u) -ne 0 ]]; then
        echo "setup: installing these packages needs root: ${missing_required[*]} ${missing_optional[*]}" >&2
        exit 1
    fi
    if $add_i386; then
        echo "setup: adding the i386 architecture"
        dpkg --add-architecture i386
    fi
    echo "setup: installing ${missing_required[*]} ${missing_optional[*]}"
    export DEBIAN_FRONTEND=noninteractive
    update_indexes
    install_required "${missing_required[@]}"
    install_optional "${missing_optional[@]}"
fi
