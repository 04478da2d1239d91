#!/usr/bin/env bash
# The golden traces: short scripted games whose every frame hash is checked
# in. Every GOLDEN_DIR/NAME.script is replayed by the replay tool and compared
# with NAME.frames; any change to what the world does, in any frame, shows up
# here with the first frame that differs. With --record, NAME.frames becomes
# the tool's output instead (scripts/update-golden.sh, after an intended
# change, once that first differing frame has been looked at).
# Usage: golden.sh [--record] GOLDEN_DIR TOOL...
#   TOOL... is the command that replays, its runner first when it has one
#   (wine drumhold-trace.exe, qemu-s390x drumhold-trace-s390x).
set -euo pipefail
record=0
[ "${1:-}" != --record ] || { record=1; shift; }
[ $# -ge 2 ] || { echo "usage: $0 [--record] GOLDEN_DIR TOOL..." >&2; exit 2; }
golden=$1
shift
tmp=$(mktemp -d "${TMPDIR:-/tmp}/drumhold-golden.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

# The number of the first line where NOW differs from RECORDED.
first_difference() {
    awk 'NR == FNR { want[FNR] = $0; n = FNR; next }
         { m = FNR }
         FNR > n || $0 != want[FNR] { print FNR; found = 1; exit }
         END { if (!found) print m + 1 }' "$1" "$2"
}
line_or_end() { sed -n "$1p" "$2" | grep . || echo "(end of trace)"; }

failed=0
for script in "$golden"/*.script; do
    name=$(basename "$script" .script)
    frames=${script%.script}.frames
    status=0
    "$@" "$script" >"$tmp/now" || status=$?
    if [ "$status" != 0 ]; then
        echo "FAIL $name: $* $script exits $status"
        failed=1
    elif [ "$record" = 1 ]; then
        mv "$tmp/now" "$frames"
        echo "golden: recorded $frames: $(wc -l <"$frames") frames, last: $(tail -n 1 "$frames")"
    elif [ ! -f "$frames" ]; then
        echo "FAIL $name: no recorded trace $frames; record it with scripts/update-golden.sh"
        failed=1
    elif cmp -s "$frames" "$tmp/now"; then
        echo "golden: $name: $(wc -l <"$frames") frames as recorded"
    else
        line=$(first_difference "$frames" "$tmp/now")
        frame=$((line - 1))
        echo "FAIL $name: first difference at frame $frame"
        echo "  recorded: $(line_or_end "$line" "$frames")"
        echo "  now:      $(line_or_end "$line" "$tmp/now")"
        echo "  inspect with: drumhold-trace --full --frames $frame:$frame $script"
        failed=1
    fi
done
exit "$failed"
