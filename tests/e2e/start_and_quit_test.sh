#!/usr/bin/env bash
# The game starts fullscreen on an 800x600x16 display, stays up through its
# title, and ends with exit code 0 soon after Escape.
set -euo pipefail
. "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_init "$1"
e2e_start_x 800x600x16
e2e_start_game

window="$(e2e_game_window)"
read -r width height x y <<<"$(e2e_window_geometry "$window")"
[ "$width $height $x $y" = "800 600 0 0" ] || e2e_fail "window is ${width}x${height}+${x}+${y}"

e2e_stay_alive 6  # the title takes 5 s
e2e_screenshot "$E2E_TMP/attract.png"
[ -s "$E2E_TMP/attract.png" ] || e2e_fail "empty screenshot"

e2e_hold_key Escape 100 "$window"
e2e_wait_exit 2 || e2e_fail "still running 2 s after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
if grep -q "Mode Switch Failed" "$E2E_TMP/game.err"; then
    e2e_fail "the display could not be switched to 800x600"
fi
e2e_log "ok"
