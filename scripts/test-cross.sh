#!/usr/bin/env bash
# Runs the replay tools of `make cross` under qemu-user and compares them with
# this machine's, byte for byte and exit status for exit status (see
# tests/tools/same_traces.sh): 64-bit ARM, where a compiler could fuse a*b+c,
# and big-endian s390x, where anything that reads memory as bytes would differ.
# Usage: scripts/test-cross.sh BUILD CROSS_BUILD
set -euo pipefail
build=$1 cross=$2
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/lib.sh"
pairs=()
for arch in aarch64 s390x; do
    command -v "qemu-$arch" >/dev/null || die "no qemu-$arch (make cross installs it)"
    [ -x "$cross/drumhold-trace-$arch" ] || die "no $cross/drumhold-trace-$arch (make cross)"
    pairs+=("qemu-$arch" "$cross/drumhold-trace-$arch")
done
t=$(now)
"$repo/tests/tools/same_traces.sh" "$build" "$repo/tests/tools/golden" "${pairs[@]}"
say "done in $(took "$t")"
