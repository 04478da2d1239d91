#!/usr/bin/env bash
# The picture made larger, on a 1920x1080 display: bad values of the options
# are refused before any window; --scale=2 asks for 1600x1200 and gets the
# largest window the screen holds, said once; a refused mode switch leaves the
# scaled window with its title drawn whole; --scale=1.5's picture, scaled
# back down, is the 800x600 window's; --fullscreen=desktop covers the screen,
# the picture centred between black bands, and leaves the display's mode alone;
# Alt+Enter goes to the window and back, and the record replays in sync.
set -euo pipefail
. "$(dirname "$0")/screens.sh"
screens_setup "$1" "$2"
trace="$3"
e2e_start_x 1920x1080x24

# The display's current mode, as xrandr reports it.
mode() { xrandr --query | awk '$2 ~ /\*/ { print $1 }'; }
# Fails unless the window is WIDTH HEIGHT X Y.
expect_geometry() {
    local geometry
    geometry="$(e2e_window_geometry "$1")"
    [ "$geometry" = "$2" ] || e2e_fail "$3 is $geometry, not $2"
}
alt_enter() {
    xdotool windowfocus "$1" 2>/dev/null || true
    xdotool key alt+Return
}
# The picture in the middle of a fullscreen shot (1440x1080 of 1920x1080).
centred() {
    convert "$1" -crop 1440x1080+240+0 +repage "$1.picture.ppm"
    echo "$1.picture.ppm"
}
attract_centred() { on_attract "$(centred "$1")"; }
playing_centred() { in_play "$(centred "$1")"; }

e2e_log "bad values are refused with one line and status 2, before any window"
for bad in --scale=0 --scale=abc --scale=100 --fullscreen=sideways; do
    status=0
    "$E2E_BIN" "$bad" 2>"$E2E_TMP/bad.err" || status=$?
    [ "$status" = 2 ] && [ "$(wc -l <"$E2E_TMP/bad.err")" = 1 ] && grep -qF -- "'$bad'" "$E2E_TMP/bad.err" ||
        e2e_fail "$bad: exit $status, $(cat "$E2E_TMP/bad.err")"
done

e2e_log "--scale=2 on 1080 lines: the largest 4:3 window that fits, with lines as heavy"
e2e_start_game --scale=2
window="$(e2e_game_window)"
expect_geometry "$window" "1440 1080 0 0" "the --scale=2 window"
scaled="$(wait_screen scaled 30 "the attract screen in the scaled window" on_attract "$window")"
# Two pixels at 1.8 times: the border's top edge is about 2 x 1416 blue pixels.
expect_pixels "the border's top edge" "$scaled" blue 2600 3200 -59 44.5 59 45
e2e_hold_key Escape 100 "$window"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$(grep -c "a 1600x1200 window does not fit the display's usable 1920x1080; it opens at 1440x1080" \
    "$E2E_TMP/game.err")" = 1 ] || e2e_fail "the clamp was not said once: $(cat "$E2E_TMP/game.err")"

e2e_log "--scale=1.5 --fullscreen: the refused mode switch leaves the scaled window, its title whole"
e2e_start_game --scale=1.5 --fullscreen
box="$(e2e_wait_window Error 40)"
e2e_key_on "$box" Return
e2e_wait_window_gone "$box"
window="$(e2e_game_window)"
expect_geometry "$window" "1200 900 0 0" "the window after the refused switch"
wait_screen refused 5 "the title over the whole window" on_title "$window" >/dev/null
kill -TERM "$E2E_GAME_PID"  # Esc is not seen during the title
e2e_wait_exit 5 || e2e_fail "still running after SIGTERM"

e2e_log "--scale=1.5: the 800x600 picture made larger"
e2e_start_game --windowed
window="$(e2e_game_window)"
unscaled="$(wait_screen unscaled 30 "the attract screen in the 800x600 window" on_attract "$window")"
e2e_hold_key Escape 100 "$window"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
e2e_start_game --scale=1.5
window="$(e2e_game_window)"
expect_geometry "$window" "1200 900 0 0" "the --scale=1.5 window"
larger="$(wait_screen larger 30 "the attract screen in the 1200x900 window" on_attract "$window")"
e2e_hold_key Escape 100 "$window"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
# Above the scroller's band the attract screen stands still. Scaled down with
# a box filter, both blurred by a pixel to forgive the rounding of 2-pixel
# lines at 1.5 times: a few hundred pixels differ by more than a quarter, 1800
# with lines left 1 pixel wide, tens of thousands with the picture misplaced.
convert "$larger" -filter box -resize '800x600!' -crop 800x370+0+0 +repage -blur 0x1 "$E2E_TMP/larger.small.ppm"
convert "$unscaled" -crop 800x370+0+0 +repage -blur 0x1 "$E2E_TMP/unscaled.small.ppm"
differ="$(compare -metric AE -fuzz 25% "$E2E_TMP/larger.small.ppm" "$E2E_TMP/unscaled.small.ppm" null: 2>&1)" || true
e2e_log "1.5 times scaled down: $differ of 296000 pixels differ"
[ "${differ%% *}" -le 800 ] || e2e_fail "--scale=1.5 scaled down differs from 800x600 in $differ pixels"

e2e_log "--fullscreen=desktop: the screen covered, no mode switch; Alt+Enter to the window and back"
before="$(mode)"
record="$E2E_TMP/desktop.replay"
e2e_start_game --fullscreen=desktop --record "$record"
first="$(e2e_game_window)"
expect_geometry "$first" "1920 1080 0 0" "the fullscreen window"
covered="$(wait_screen covered 30 "the attract screen, centred" attract_centred)"
expect_pixels "the band on the left" "$covered" lit 0 0 -60 -45 -45.1 45
expect_pixels "the band on the right" "$covered" lit 0 0 45.1 -45 60 45
read -r left _ right _ <<<"$("$E2E_PROBE" bounds "$covered" blue -60 -45 60 45)"
awk -v l="$left" -v r="$right" 'BEGIN { exit !(l > -45.1 && l < -44.8 && r > 44.8 && r < 45.1) }' ||
    e2e_fail "the border spans $left..$right, not the middle 1440 columns"
[ "$(mode)" = "$before" ] || e2e_fail "the mode changed from $before to $(mode)"
e2e_hold_key space 150 "$first"
wait_screen play 10 "the game after space" playing_centred >/dev/null
xdotool keydown shift
e2e_hold_key Up 600 "$first"
xdotool keyup shift
alt_enter "$first"
second="$(e2e_new_game_window "$first" 40)"
expect_geometry "$second" "800 600 0 0" "the window"
wait_screen resumed 30 "the game going on in the window" in_play "$second" >/dev/null
e2e_hold_key Left 400 "$second"
alt_enter "$second"
third="$(e2e_new_game_window "$second" 40)"
expect_geometry "$third" "1920 1080 0 0" "the fullscreen window again"
wait_screen resumed2 30 "the game going on fullscreen again" playing_centred >/dev/null
e2e_hold_key Escape 100 "$third"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
[ "$(mode)" = "$before" ] || e2e_fail "the mode changed from $before to $(mode)"
grep -q "Mode Switch Failed" "$E2E_TMP/game.err" && e2e_fail "a mode switch was tried"
[ "$(grep -cx reinit "$record")" = 2 ] || e2e_fail "the two switches left $(grep -cx reinit "$record") reinit lines"
"$trace" "$record" >/dev/null 2>"$E2E_TMP/trace.err" || e2e_fail "the record does not replay: $(cat "$E2E_TMP/trace.err")"
e2e_log "ok"
