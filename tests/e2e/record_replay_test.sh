#!/usr/bin/env bash
# A game played in the window with real keys, a display switch in the middle,
# recorded with --record: the record replays in sync headless (drumhold-trace
# exits 0) and in the window (the game says so when the record ends), where the
# keyboard then takes over and Escape ends the game.
set -euo pipefail
. "$(dirname "$0")/screens.sh"
screens_setup "$1" "$2"
trace="$3"
record="$E2E_TMP/game.replay"
e2e_start_x 800x600x16
e2e_start_game --windowed --record "$record"

first="$(e2e_wait_window zandrel)"
wait_screen attract 30 "attract screen" on_attract "$first" >/dev/null
e2e_hold_key space 150 "$first"
wait_screen play 10 "the game after space" in_play "$first" >/dev/null
xdotool keydown shift
e2e_hold_key Up 800 "$first"
xdotool keyup shift

kill -USR1 "$E2E_GAME_PID"
second="$(e2e_wait_new_window zandrel "$first" 40)"
wait_screen resumed 30 "the game going on after the switch" in_play "$second" >/dev/null
e2e_hold_key Left 600 "$second"
e2e_hold_key Escape 100 "$second"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"

grep -qx reinit "$record" || e2e_fail "the display switch left no reinit in the record"
last=$(awk '$1 == "check" { n = $2 } END { print n }' "$record")
[ "${last:-0}" -gt 100 ] || e2e_fail "the record checks no later frame than ${last:-none}"
"$trace" "$record" >"$E2E_TMP/trace.out" 2>"$E2E_TMP/trace.err" ||
    e2e_fail "drumhold-trace: $(cat "$E2E_TMP/trace.err")"

e2e_start_game --windowed --replay "$record"
window="$(e2e_wait_window zandrel)"
e2e_wait_stderr "drumhold: replay ended at frame $last, in sync" 90
grep -q "out of sync" "$E2E_TMP/game.err" && e2e_fail "the replay went out of sync"
e2e_hold_key Escape 100 "$window"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
e2e_log "ok"
