#!/usr/bin/env bash
# A recording game killed outright leaves a valid record of all but its last
# second, which replays in sync.
set -euo pipefail
. "$(dirname "$0")/screens.sh"
screens_setup "$1" "$2"
trace="$3"
record="$E2E_TMP/killed.replay"
e2e_start_x 800x600x16
e2e_start_game --windowed --record "$record"

window="$(e2e_wait_window zandrel)"
wait_screen attract 30 "attract screen" on_attract "$window" >/dev/null
e2e_hold_key space 150 "$window"
wait_screen play 10 "the game after space" in_play "$window" >/dev/null
xdotool keydown shift
e2e_hold_key Right 2500 "$window"
xdotool keyup shift
kill -KILL "$E2E_GAME_PID"
e2e_wait_exit 5 || e2e_fail "still running after SIGKILL"

last=$(awk '$1 == "check" { n = $2 } END { print n }' "$record")
[ "${last:-0}" -gt 100 ] || e2e_fail "the record checks no later frame than ${last:-none}"
"$trace" "$record" >"$E2E_TMP/trace.out" 2>"$E2E_TMP/trace.err" ||
    e2e_fail "the killed record does not replay: $(cat "$E2E_TMP/trace.err")"
e2e_log "ok"
