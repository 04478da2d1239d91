#!/usr/bin/env bash
# The Windows replay tool under Wine (or the browser build's under node) prints
# the very bytes the Linux one does: on the golden scripts (hashes and whole
# states) and on long made-up games of heavy play, over 400,000 frames in all.
# Usage: same_traces_test.sh LINUX_BUILD TRACE_EXE|TRACE_JS GOLDEN_DIR
set -euo pipefail
linux=$1 exe=$2 golden=$3
tmp=$(mktemp -d "${TMPDIR:-/tmp}/drumhold-same-traces.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
frames=0
case $exe in
*.js) run=(node "$exe") platform=browser ;;
*) run=(wine "$exe") platform=Windows ;;
esac

# same NAME SCRIPT [OPTIONS...]: both tools on SCRIPT, outputs compared byte for byte.
same() {
    local name=$1 script=$2 status=0
    shift 2
    "$linux/drumhold-trace" "$@" "$script" >"$tmp/linux.out"
    "${run[@]}" "$@" "$script" >"$tmp/windows.out" || status=$?
    [ "$status" = 0 ] || { echo "FAIL $name: $(basename "$exe") exit $status"; exit 1; }
    if ! cmp -s "$tmp/linux.out" "$tmp/windows.out"; then
        echo "FAIL $name: the traces differ; the first differing lines:"
        diff "$tmp/linux.out" "$tmp/windows.out" | head -n 6
        exit 1
    fi
    local n
    n=$(grep -ci '^frame ' "$tmp/linux.out" || true)
    frames=$((frames + n))
    echo "same: $name ($n frames, $(wc -c <"$tmp/linux.out") bytes, sha256 $(sha256sum <"$tmp/linux.out" | cut -c1-16))"
}

for script in "$golden"/*.script; do
    name=$(basename "$script" .script)
    same "$name" "$script"
    same "$name --full" "$script" --full
done
"$linux/bench_world" --print-script >"$tmp/bench.script"
same "bench_world's game" "$tmp/bench.script"
for seed in 1 2 3; do
    "$linux/play_script" 100000 "$seed" >"$tmp/play$seed.script"
    same "heavy play, seed $seed" "$tmp/play$seed.script"
done
[ "$frames" -ge 300000 ] || { echo "FAIL: only $frames frames compared"; exit 1; }
echo "same traces on Linux and $platform: $frames frames"
