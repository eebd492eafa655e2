#!/usr/bin/env bash
# Installs the Debian 12 packages Ostrel needs to build, run and test.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format pkg-config git
    qt6-base-dev qt6-webengine-dev qt6-qpa-plugins libgl-dev libxcb1-dev
    libacl1-dev libcpp-httplib-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-i686-posix
    xvfb xauth imagemagick librsvg2-bin fonts-dejavu-core fonts-liberation xdotool python3
    iproute2 util-linux acl procps
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done

if ((${#missing[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi
