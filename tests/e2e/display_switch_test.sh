#!/usr/bin/env bash
# SIGUSR1 asks the running game to switch display mode: it closes its window and
# opens a new one in the other mode (windowed, then fullscreen again), without
# ending; Escape still ends it with exit code 0.
set -euo pipefail
. "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_init "$1"
e2e_start_x 800x600x16
e2e_start_game

first="$(e2e_wait_window zandrel)"
kill -USR1 "$E2E_GAME_PID"
# Handled once the title is over: allow for it.
second="$(e2e_wait_new_window zandrel "$first" 40)"
e2e_wait_window_gone "$first"
e2e_game_alive || e2e_fail "the game ended on the switch"
read -r width height x y <<<"$(e2e_window_geometry "$second")"
[ "$width $height" = "800 600" ] || e2e_fail "windowed window is ${width}x${height}"

kill -USR1 "$E2E_GAME_PID"
third="$(e2e_wait_new_window zandrel "$second" 40)"
e2e_wait_window_gone "$second"
e2e_stay_alive 6
if grep -q "Mode Switch Failed" "$E2E_TMP/game.err"; then
    e2e_fail "fullscreen again was refused"
fi

e2e_hold_key Escape 100 "$third"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
e2e_log "ok"
