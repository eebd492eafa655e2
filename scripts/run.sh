#!/usr/bin/env bash
# Sets up, builds and runs Ostrel on a simulated LAN of agents (scripts/testlan.sh):
# its discovery broadcast reaches only the simulated computers, and everything
# the LAN needs is removed when Ostrel closes.
# Usage: scripts/run.sh [number of simulated computers, default 5]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)"

exec scripts/testlan.sh run --agents "${1:-5}" --build build/release
