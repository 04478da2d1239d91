#!/usr/bin/env bash
# A game as a player starts it: space on the attract screen gives the field
# with the green tank, the barrels and the yellow tanks coming in from the
# edges, the score line and no game-over text. Shift fires: red missiles leave
# the green tank, the score line changes and the sound output is no longer
# silent. Escape in the middle of the game ends the program cleanly.
set -euo pipefail
. "$(dirname "$0")/screens.sh"
screens_setup "$1" "$2"
e2e_start_x 800x600x16
e2e_start_game

window="$(e2e_game_window)"
wait_screen attract 30 "attract screen" on_attract >/dev/null
e2e_hold_key space 150 "$window"
play="$(wait_screen play 10 "the game after space" in_play)"

expect_pixels "the barrels" "$play" white 300 - -60 -45 60 45
expect_pixels "the player's tank" "$play" green 20 - -60 -45 60 45
# The enemies enter at the edges: some yellow lies outside the middle of the field.
yellow_all=$(pixels "$play" yellow -60 -45 60 45)
yellow_middle=$(pixels "$play" yellow -40 -25 40 25)
[ "$yellow_all" -gt "$yellow_middle" ] ||
    e2e_fail "no yellow tank near the edges ($yellow_all yellow pixels, $yellow_middle in the middle)"
sleep 1.5
later="$(shot play2)"
in_play "$later" || e2e_fail "the game stopped within 2 s"
expect_pixels "the enemy tanks after 2 s" "$later" yellow 20 - -60 -45 60 45

# Fire while the green tank is on the field (it may have just been destroyed:
# it comes back after about a second).
score=(-57.5 41.5 -20 44.5)
fired=""
for attempt in 1 2 3 4 5; do
    before="$(shot before$attempt)"
    read -r x y n <<<"$("$E2E_PROBE" centre "$before" green)"
    if [ "$x" = none ]; then
        sleep 0.5
        continue
    fi
    sound_from=$(stat -c %s "$E2E_TMP/audio.raw")
    xdotool keydown shift
    sleep 0.3
    firing="$(shot firing$attempt)"
    xdotool keyup shift
    # Missiles fly 0.8 a tick from the nose: within about 25 units after 0.3 s.
    near=$(pixels "$firing" red "$(awk -v v="$x" 'BEGIN { print v - 26 }')" \
        "$(awk -v v="$y" 'BEGIN { print v - 26 }')" "$(awk -v v="$x" 'BEGIN { print v + 26 }')" \
        "$(awk -v v="$y" 'BEGIN { print v + 26 }')")
    if [ "$near" -gt 0 ]; then
        fired="$firing"
        break
    fi
done
[ -n "$fired" ] || e2e_fail "no red missile near the green tank while shift was held"
[ "$(changed "$before" "$fired" "${score[@]}")" -gt 0 ] || e2e_fail "the score line did not change on firing"
sleep 0.5
! silent_after "$E2E_TMP/audio.raw" "$sound_from" || e2e_fail "no sound after the shot"

e2e_hold_key Escape 100 "$window"
e2e_wait_exit 2 || e2e_fail "still running 2 s after Escape in play"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
e2e_log "ok"
