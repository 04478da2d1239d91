#!/usr/bin/env bash
# A game played to its end: the player starts a game and leaves the tank
# alone; the enemies steal barrel after barrel, and when the last one is gone
# the game-over screen returns, over the field as the game left it (no barrel
# at all). Space then starts a new game with all 18 barrels back.
#
# An idle game takes some 9,000 to 16,000 ticks, two minutes and more at the
# game's pace. The game runs unchanged, but under libfaketime its clock goes
# twenty times as fast: the pacing sleeps shrink and the ticks follow one
# another as fast as frames can be drawn. One update is still one tick, so
# the game is the same game, only sooner over.
# labels: no-sanitize
set -euo pipefail
. "$(dirname "$0")/screens.sh"
screens_setup "$1" "$2"

faketime_lib=""
for candidate in /usr/lib/*/faketime/libfaketimeMT.so.1 /usr/lib/faketime/libfaketimeMT.so.1 \
    /usr/local/lib/faketime/libfaketimeMT.so.1; do
    if [ -f "$candidate" ]; then
        faketime_lib="$candidate"
        break
    fi
done
[ -n "$faketime_lib" ] || e2e_fail "libfaketime is not installed (scripts/install-deps.sh)"

e2e_start_x 800x600x16
LD_PRELOAD="$faketime_lib" FAKETIME="+0 x20" e2e_start_game

window="$(e2e_game_window)"
wait_screen attract 30 "attract screen" on_attract >/dev/null
e2e_hold_key space 150 "$window"
wait_screen play 10 "the game after space" in_play >/dev/null

# Screenshots cost the game processor time: look once a second.
over="$(SCREENS_POLL=1 wait_screen over 150 "game-over screen at the end of the game" on_attract)"
expect_pixels "barrels after the game" "$over" white 0 0 -60 -45 60 45
expect_pixels "score line after the game" "$over" cyan 100 - -57.5 41.5 -20 44.5

e2e_hold_key space 150 "$window"
again="$(wait_screen again 10 "a new game after space" in_play)"
expect_pixels "the barrels of the new game" "$again" white 300 - -60 -45 60 45

e2e_hold_key Escape 100 "$window"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
e2e_log "ok"
