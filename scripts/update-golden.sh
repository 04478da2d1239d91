#!/usr/bin/env bash
# Records the golden traces anew: for every tests/tools/golden/NAME.script,
# NAME.frames becomes drumhold-trace's output (one FRAME line per frame).
# Run it only after a change that is meant to alter the game, and look at the
# first differing frame the golden test reported before recording.
#
# Usage: scripts/update-golden.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

build=${1:-build}
[ -f "$build/CMakeCache.txt" ] || die "$build is not a configured build directory (run: make build)"
# Never record from a stale tool.
cmake --build "$build" --target drumhold-trace -j 2 >/dev/null
tests/tools/golden.sh --record tests/tools/golden "$build/drumhold-trace"
