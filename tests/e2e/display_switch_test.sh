#!/usr/bin/env bash
# SIGUSR1 asks the running game to switch display mode: it closes its window and
# opens a new one in the other mode (windowed, then fullscreen again), without
# ending. Each new window shows the title again, and a game in progress then
# carries on in play, on a freshly reset field. Escape still ends it with exit
# code 0.
set -euo pipefail
. "$(dirname "$0")/screens.sh"
screens_setup "$1" "$2"
e2e_start_x 800x600x16
e2e_start_game

first="$(e2e_game_window)"
wait_screen attract 30 "attract screen" on_attract >/dev/null
e2e_hold_key space 150 "$first"
wait_screen play 10 "the game after space" in_play >/dev/null

kill -USR1 "$E2E_GAME_PID"
second="$(e2e_new_game_window "$first" 40)"
e2e_wait_window_gone "$first"
e2e_game_alive || e2e_fail "the game ended on the switch"
read -r width height _ _ <<<"$(e2e_window_geometry "$second")"
[ "$width $height" = "800 600" ] || e2e_fail "windowed window is ${width}x${height}"
wait_screen title 20 "title on the windowed window" on_title "$second" >/dev/null
resumed="$(wait_screen resumed 30 "the game going on after the title" in_play "$second")"
expect_pixels "the barrels of the reset field" "$resumed" white 300 - -60 -45 60 45
sleep 0.5
moving="$(shot moving "$second")"
[ "$(changed "$resumed" "$moving" -60 -45 60 45)" -gt 0 ] || e2e_fail "the game stands still after the switch"

kill -USR1 "$E2E_GAME_PID"
third="$(e2e_new_game_window "$second" 40)"
e2e_wait_window_gone "$second"
wait_screen title2 20 "title on the fullscreen window" on_title >/dev/null
wait_screen resumed2 30 "the game going on in fullscreen" in_play >/dev/null
if grep -q "Mode Switch Failed" "$E2E_TMP/game.err"; then
    e2e_fail "fullscreen again was refused"
fi

e2e_hold_key Escape 100 "$third"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
e2e_log "ok"
