#!/usr/bin/env bash
# A timedemo-style performance report. Runs every bench_* program of the build
# directory: the known ones in a fixed order, then any others by name; a program
# that was not built is skipped. Each prints its own figures.
#
# Usage: scripts/bench.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

build=${1:-build}
[ -d "$build" ] || die "no build directory $build (run: make build)"

order=(bench_world bench_draw bench_start bench_loop bench_memory)

# Temporary files live here and go however the run ends.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
trap 'exit 130' INT TERM

echo "DRUMHOLD benchmarks -- $(date '+%Y-%m-%d %H:%M'), $(nproc) cpu, $(grep -m1 'model name' /proc/cpuinfo 2>/dev/null | cut -d: -f2- | sed 's/^ *//')"

# The replay tool itself, end to end, on the world benchmark's game (output discarded).
trace_tool() {
    local tool=$build/drumhold-trace script start end frames
    [ -x "$tool" ] || return 0
    script=$scratch/script
    "$build/bench_world" --print-script >"$script"
    frames=$(awk '{ n += $1 } END { print n }' "$script")
    start=$(date +%s%N)
    "$tool" "$script" >/dev/null
    end=$(date +%s%N)
    awk -v n="$frames" -v ns="$((end - start))" 'BEGIN {
        s = ns / 1e9
        printf "tool     %d frames in %.3f s: %10.0f frames/s (drumhold-trace, hash mode, to /dev/null)\n", n, s, n / s
    }'
}

# The start and the paced loop run the real game, on a private X server like
# the e2e tests: private_x GEOMETRY COMMAND...
private_x() {
    (
        # shellcheck source=scripts/e2e-lib.sh
        source scripts/e2e-lib.sh
        e2e_init "$build/drumhold"
        e2e_start_x "$1"
        shift
        BENCH_X_SERVER_PID=$E2E_XVFB_PID "$@"
    )
}

run() {
    local program=$1
    [ -x "$build/$program" ] || return 0
    if [ "$program" = bench_loop ]; then
        # The default window, then the picture made larger on a 1080-line screen.
        private_x 800x600x16 "$build/$program"
        private_x 1920x1080x24 "$build/$program" --scale=2
        private_x 1920x1080x24 "$build/$program" --fullscreen=desktop
    elif [ "$program" = bench_start ]; then
        private_x 800x600x16 "$build/$program"
    else
        "$build/$program"
    fi
    if [ "$program" = bench_world ]; then trace_tool; fi
}

for program in "${order[@]}"; do
    run "$program"
done
for path in "$build"/bench_*; do
    program=$(basename "$path")
    [[ " ${order[*]} " == *" $program "* ]] && continue
    [ -f "$path" ] && [ -x "$path" ] && run "$program"
done
exit 0
