#!/usr/bin/env bash
# Replay tools built for other machines print the very bytes this machine's does
# and exit with the same status: on the golden scripts (hashes and whole
# states), on long made-up games of heavy play (over 300,000 frames), on a bad
# script (2) and on a failed check (3). Used by the Windows build's tests
# (under Wine) and by `make test-cross` (under qemu-user).
# Usage: same_traces.sh LINUX_BUILD GOLDEN_DIR RUNNER TOOL [RUNNER TOOL...]
#   RUNNER runs TOOL here (wine, qemu-aarch64, ...).
set -euo pipefail
linux=$1 golden=$2
shift 2
[ $# -ge 2 ] && [ $(($# % 2)) = 0 ] || { echo "usage: $0 LINUX_BUILD GOLDEN_DIR RUNNER TOOL [RUNNER TOOL...]" >&2; exit 2; }
here=$linux/drumhold-trace runners=() tools=()
while [ $# -gt 0 ]; do runners+=("$1"); tools+=("$2"); shift 2; done
. "$(dirname "$0")/same.sh"
tmp=$same_tmp

# The golden traces as recorded, then the whole states, which are recorded nowhere.
for i in "${!tools[@]}"; do
    "$(dirname "$0")/golden.sh" "$golden" "${runners[i]}" "${tools[i]}"
done
for script in "$golden"/*.script; do
    same "$(basename "$script" .script) --full" 0 --full "$script"
done
"$linux/bench_world" --print-script >"$tmp/bench.script"
same "bench_world's game" 0 "$tmp/bench.script"
for seed in 1 2 3; do
    "$linux/play_script" 100000 "$seed" >"$tmp/play$seed.script"
    same "heavy play, seed $seed" 0 "$tmp/play$seed.script"
done

printf '10 up\n1 jump\n' >"$tmp/bad.script"
same "a bad script" 2 "$tmp/bad.script"
# A check that cannot hold, after the last frame of a golden script.
script=$(ls "$golden"/*.script | head -n 1)
last=$("$here" "$script" | tail -n 1 | cut -d' ' -f2)
{ cat "$script"; echo "check $last 0000000000000000"; } >"$tmp/failed.script"
same "a failed check" 3 "$tmp/failed.script"

[ "$same_frames" -ge 300000 ] || { echo "FAIL: only $same_frames frames compared"; exit 1; }
for i in "${!tools[@]}"; do
    echo "same traces here and with ${runners[i]} $(basename "${tools[i]}"): $same_frames frames"
done
