#!/usr/bin/env bash
# Fails when clang-format would change any C++ file the repository tracks.
set -euo pipefail
cd "$(dirname "$0")/.."

unformatted=()
while IFS= read -r file; do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files '*.h' '*.cpp')

if ((${#unformatted[@]})); then
    echo "check-format: clang-format would change: ${unformatted[*]}" >&2
    exit 1
fi
echo "check-format: all C++ files formatted"
