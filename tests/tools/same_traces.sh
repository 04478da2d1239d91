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
runners=() tools=() frames=()
while [ $# -gt 0 ]; do runners+=("$1"); tools+=("$2"); frames+=(0); shift 2; done
tmp=$(mktemp -d "${TMPDIR:-/tmp}/drumhold-same-traces.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

# same NAME WANT_STATUS SCRIPT [OPTIONS...]: every tool on SCRIPT, its output
# compared byte for byte with this machine's and its exit status with WANT_STATUS.
same() {
    local name=$1 want=$2 script=$3 status i n
    shift 3
    status=0
    "$linux/drumhold-trace" "$@" "$script" >"$tmp/here.out" 2>/dev/null || status=$?
    [ "$status" = "$want" ] || { echo "FAIL $name: drumhold-trace exit $status, not $want"; exit 1; }
    n=$(grep -ci '^frame ' "$tmp/here.out" || true)
    for i in "${!tools[@]}"; do
        status=0
        "${runners[i]}" "${tools[i]}" "$@" "$script" >"$tmp/there.out" 2>"$tmp/there.err" || status=$?
        if [ "$status" != "$want" ]; then
            echo "FAIL $name: ${tools[i]} exit $status, not $want"
            head -n 3 "$tmp/there.err"
            exit 1
        fi
        if ! cmp -s "$tmp/here.out" "$tmp/there.out"; then
            echo "FAIL $name: ${tools[i]} prints another trace; the first differing lines:"
            diff "$tmp/here.out" "$tmp/there.out" | head -n 6 || true
            exit 1
        fi
        frames[i]=$((frames[i] + n))
    done
    echo "same: $name ($n frames, $(wc -c <"$tmp/here.out") bytes, sha256 $(sha256sum <"$tmp/here.out" | cut -c1-16))"
}

for script in "$golden"/*.script; do
    name=$(basename "$script" .script)
    same "$name" 0 "$script"
    same "$name --full" 0 "$script" --full
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
last=$("$linux/drumhold-trace" "$script" | tail -n 1 | cut -d' ' -f2)
{ cat "$script"; echo "check $last 0000000000000000"; } >"$tmp/failed.script"
same "a failed check" 3 "$tmp/failed.script"

for i in "${!tools[@]}"; do
    [ "${frames[i]}" -ge 300000 ] || { echo "FAIL ${tools[i]}: only ${frames[i]} frames compared"; exit 1; }
    echo "same traces here and with ${runners[i]} $(basename "${tools[i]}"): ${frames[i]} frames"
done
