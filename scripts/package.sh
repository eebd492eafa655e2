#!/usr/bin/env bash
# Sets up, builds the release and makes its Debian package, build/release/ostrel_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --workflow --preset package
