#!/usr/bin/env bash
# Sets up, builds and runs Ostrel. Until the simulated LAN exists it runs in an
# empty network namespace, so its start-up broadcast reaches nobody.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)"

export QTWEBENGINE_DISABLE_SANDBOX=1
if [[ -n ${DISPLAY:-} ]]; then
    exec unshare -n build/release/ostrel
fi
exec unshare -n xvfb-run -a -s "-screen 0 1280x800x24" build/release/ostrel
