#!/usr/bin/env bash
# Runs every libFuzzer target of the "fuzz" preset for a bounded time each.
# Usage: scripts/fuzz.sh [seconds per target, default 20]
# Seeds come from tests/fuzz/corpus/<target without fuzz_>/; new inputs go to a
# scratch copy, so the committed corpus stays as it is.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

shopt -s nullglob
targets=(build/fuzz/tests/fuzz/fuzz_*)
if ((${#targets[@]} == 0)); then
    echo "fuzz: no targets built; run 'cmake --preset fuzz && cmake --build --preset fuzz' first" >&2
    exit 1
fi

for target in "${targets[@]}"; do
    [[ -x $target ]] || continue
    name=$(basename "$target")
    corpus="$scratch/${name#fuzz_}"
    mkdir -p "$corpus"
    seeds="tests/fuzz/corpus/${name#fuzz_}"
    [[ -d $seeds ]] && cp -r "$seeds"/. "$corpus"/
    echo "fuzz: $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$scratch/" "$corpus" 2>"$scratch/$name.log" || {
        tail -n 60 "$scratch/$name.log" >&2
        echo "fuzz: $name FAILED" >&2
        exit 1
    }
    grep -E '^stat::number_of_executed_units' "$scratch/$name.log" || true
done
echo "fuzz: all targets passed"
