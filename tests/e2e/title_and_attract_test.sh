#!/usr/bin/env bash
# What a player sees before the first game. The title stays still for about
# five seconds; then the attract screen: the blue border, the score line, the
# 18 barrels at home (no tanks yet), "GAME OVER" and "press <space> to start",
# and the instructions rising inside their band while nothing else moves and
# no sound plays.
set -euo pipefail
. "$(dirname "$0")/screens.sh"
screens_setup "$1" "$2"
e2e_start_x 800x600x16
e2e_start_game
now_ms() { date +%s%3N; }

e2e_game_window >/dev/null
opened=$(now_ms)

# The window is seen some time after it opens, and a loaded machine may see it
# late: the title counts as cut short only when it is gone within 4 s of that.
title_lasts=4000
title="$(wait_screen title 20 "title screen" on_title)"
expect_pixels "version line" "$title" cyan 200 - -40 13.5 40 18
sleep 1
title2="$(shot title2)"
if on_title "$title2"; then
    [ "$(changed "$title" "$title2" -60 -45 60 45)" = 0 ] || e2e_fail "the title screen moved"
else
    [ $(($(now_ms) - opened)) -ge "$title_lasts" ] || e2e_fail "the title was gone within 4 s"
fi

attract="$(wait_screen attract 30 "attract screen" on_attract)"
shown=$(($(now_ms) - opened))
[ "$shown" -ge "$title_lasts" ] || e2e_fail "the attract screen came ${shown} ms after the window, before the title's 5 s"

# The scroller first, while its first lines are still low in their band: once
# the text reaches the band's top edge, the top of the ink no longer shows the
# rise. The band runs from y -43.5 to -10.5 (window rows 10 to 229).
band=(-60 -43.5 60 -10.5)
band_has_text() { [ "$(pixels "$1" cyan "${band[@]}")" -gt 50 ]; }
early="$(wait_screen scroll1 20 "instructions in their band" band_has_text)"
sleep 1
late="$(shot scroll2)"
[ "$(changed "$early" "$late" "${band[@]}")" -gt 100 ] || e2e_fail "the instructions do not move"
[ "$(changed "$early" "$late" -60 -10.4 60 45)" = 0 ] || e2e_fail "something moved above the band"
[ "$(changed "$early" "$late" -60 -45 60 -43.55)" = 0 ] || e2e_fail "something moved below the band"
expect_pixels "text below the band" "$late" cyan 0 0 -60 -45 60 -43.55
expect_pixels "text between the band and the game-over text" "$late" cyan 0 0 -60 -10.4 60 13
read -r _ _ _ top_early <<<"$("$E2E_PROBE" bounds "$early" cyan "${band[@]}")"
read -r _ _ _ top_late <<<"$("$E2E_PROBE" bounds "$late" cyan "${band[@]}")"
if awk -v a="$top_early" 'BEGIN { exit !(a < -11) }'; then
    awk -v a="$top_early" -v b="$top_late" 'BEGIN { exit !(b > a) }' ||
        e2e_fail "the instructions do not rise (top $top_early, then $top_late)"
else
    e2e_log "the text had reached the band's top before the first look; rise not measured"
fi

expect_pixels '"press <space> to start"' "$attract" cyan 300 - -45 15 45 22
expect_pixels "score line" "$attract" cyan 100 - -57.5 41.5 -20 44.5
expect_barrels_at_home "$attract"
expect_pixels "tanks before the first game" "$attract" green 0 0 -60 -45 60 45
expect_pixels "tanks before the first game" "$attract" yellow 0 0 -60 -45 60 45

[ -s "$E2E_TMP/audio.raw" ] || e2e_fail "no audio output written"
silent_after "$E2E_TMP/audio.raw" 0 || e2e_fail "sound before any game"

e2e_hold_key Escape 100
e2e_wait_exit 5 || e2e_fail "still running 5 s after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
e2e_log "ok"
