#!/usr/bin/env bash
# Records the golden traces anew: for every tests/tools/golden/NAME.script,
# NAME.frames becomes drumhold-trace's output (one FRAME line per frame).
# Run it only after a change that is meant to alter the game, and look at the
# first differing frame the golden test reported before recording.
#
# Usage: scripts/update-golden.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "update-golden: $build is not a configured build directory (run: make build)" >&2
    exit 1
fi
# Never record from a stale tool.
cmake --build "$build" --target drumhold-trace -j 2 >/dev/null
tool=$build/drumhold-trace

for script in tests/tools/golden/*.script; do
    out=${script%.script}.frames
    "$tool" "$script" >"$out.tmp"
    mv "$out.tmp" "$out"
    echo "update-golden: $out: $(wc -l <"$out") frames, last: $(tail -n 1 "$out")"
done
