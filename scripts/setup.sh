#!/usr/bin/env bash
# Installs the Debian 12 packages Ostrel needs to build, run and test.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format pkg-config git
    qt6-base-dev qt6-webengine-dev qt6-qpa-plugins libgl-dev libxcb1-dev
    libacl1-dev libcpp-httplib-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-i686-posix googletest wine wine32:i386
    g++-mingw-w64-x86-64-posix wine64
    xvfb xauth imagemagick librsvg2-bin fonts-dejavu-core fonts-liberation xdotool python3
    iproute2 util-linux acl procps
    dpkg-dev file desktop-file-utils appstream man-db passwd
    python3-pyatspi at-spi2-core dbus-daemon
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

# The Windows build's tests run under 32-bit Wine, whose packages come from the i386 architecture;
# where the kernel runs no 32-bit programs, they run on the 64-bit build under wine64 instead.
add_i386=false
dpkg --print-foreign-architectures | grep -qx i386 || add_i386=true

if ((${#missing[@]})) || $add_i386; then
    if [[ $(id -u) -ne 0 ]]; then
        echo "setup: installing these packages needs root: ${missing[*]}" >&2
        exit 1
    fi
    if $add_i386; then
        echo "setup: adding the i386 architecture"
        dpkg --add-architecture i386
    fi
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi
