#!/usr/bin/env bash
# Sets up, checks formatting, builds and runs every test: unit, widget and end-to-end tests, the
# discovery tests under the sanitizers, the 32-bit Windows build with its tests under Wine, and
# short fuzzing runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/check-format.sh

jobs=$(nproc)
cmake --preset debug
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs"

# The discovery tests again under the sanitizers: name lookups abandoned at shutdown must
# touch nothing that has gone, and only a sanitizer sees it when one does.
cmake --preset asan
cmake --build --preset asan -j "$jobs" --target discovery_tests discovery_form1_tests
build/asan/tests/discovery/discovery_tests
build/asan/tests/discovery/discovery_form1_tests

# The 32-bit Windows build: the Win32 backend, linked statically, with the core's unit tests
# and the contract tests run under Wine.
cmake --preset win32
cmake --build --preset win32 -j "$jobs"
ctest --preset win32 -j "$jobs"

# The fuzzers need the list and the discovery protocol alone: no toolkit is built for them.
cmake --preset fuzz
cmake --build --preset fuzz -j "$jobs"
scripts/fuzz.sh 20
