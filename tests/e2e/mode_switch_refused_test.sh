#!/usr/bin/env bash
# On a display that has no 800x600 mode the game says so in a box and, once the
# box is dismissed with Return, goes on in an 800x600 window.
set -euo pipefail
. "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_init "$1"
e2e_start_x 1024x768x16
e2e_start_game

box="$(e2e_wait_window Error 40)"
e2e_wait_stderr "Mode Switch Failed."
grep -q "Running In Windowed Mode." "$E2E_TMP/game.err" || e2e_fail "second line of the box missing"
e2e_key_on "$box" Return
e2e_wait_window_gone "$box"

window="$(e2e_game_window)"
e2e_stay_alive 6
read -r width height x y <<<"$(e2e_window_geometry "$window")"
[ "$width $height" = "800 600" ] || e2e_fail "window is ${width}x${height}"

e2e_hold_key Escape 100 "$window"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
e2e_log "ok"
