#!/usr/bin/env bash
# screens.sh -- what the game shows, checked in field coordinates.
#
# Source it (it brings scripts/e2e-lib.sh along) and call
# `screens_setup GAME PROBE` with the game binary and the screen_probe tool, the
# two arguments every e2e script receives. Field coordinates: x -60..60, y -45..45, y up, over
# the whole 800x600 screen (or window).
#   shot NAME [WIN]                  screenshot into $E2E_TMP/NAME.ppm; prints the path
#   pixels IMAGE COLOUR X0 Y0 X1 Y1  pixels of COLOUR in the rectangle (screen_probe count)
#   changed IMAGE OTHER X0 Y0 X1 Y1  pixels that differ
#   expect_pixels WHAT IMAGE COLOUR MIN MAX X0 Y0 X1 Y1   fails unless MIN <= count <= MAX
#                                    (MAX "-" for no upper bound)
#   wait_screen NAME SECONDS WHAT TEST [WIN]   screenshots (as for `shot`) until
#                                    `TEST IMAGE` succeeds, every SCREENS_POLL s
#                                    (default 0.1); prints the image
#   silent_after FILE OFFSET         true when the raw audio after OFFSET bytes is all zero
# Predicates for wait_screen: on_title, on_attract, in_play.

. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/e2e-lib.sh"

E2E_PROBE=""

screens_setup() {
    e2e_init "$1"
    E2E_PROBE="$2"
    [ -x "$E2E_PROBE" ] || e2e_fail "no screen probe at '$E2E_PROBE'"
    command -v import >/dev/null || e2e_fail "import (ImageMagick) is not installed"
}

shot() {
    local file="$E2E_TMP/$1.ppm"
    e2e_screenshot "$file" "${2:-root}"
    echo "$file"
}

pixels() { "$E2E_PROBE" count "$@" || e2e_fail "screen_probe count $*"; }
changed() { "$E2E_PROBE" diff "$@" || e2e_fail "screen_probe diff $*"; }

expect_pixels() {
    local what="$1" image="$2" colour="$3" min="$4" max="$5"
    shift 5
    local n
    n="$(pixels "$image" "$colour" "$@")"
    if [ "$n" -lt "$min" ] || { [ "$max" != - ] && [ "$n" -gt "$max" ]; }; then
        e2e_fail "$what: $n $colour pixels in ($*), expected $min..$max ($(basename "$image"), E2E_KEEP=1 keeps it)"
    fi
}

wait_screen() {
    local name="$1" seconds="$2" what="$3" test="$4" window="${5:-root}" image deadline
    deadline=$(($(date +%s) + $(e2e_tenths "$seconds") / 10))
    while [ "$(date +%s)" -le "$deadline" ]; do
        image="$(shot "$name" "$window")"
        if "$test" "$image"; then
            echo "$image"
            return 0
        fi
        e2e_game_alive || e2e_fail "the game ended while waiting for $what"
        sleep "${SCREENS_POLL:-0.1}"
    done
    e2e_fail "no $what within ${seconds}s (last screenshot $(basename "$image"), E2E_KEEP=1 keeps it)"
}

silent_after() {
    local n
    n="$(tail -c +"$(($2 + 1))" "$1" | tr -d '\0' | wc -c)"
    [ "$n" -eq 0 ]
}

# --- the screens -----------------------------------------------------------

# The blue border runs along the outermost rows and columns (+-59.9, +-44.9).
has_border() {
    [ "$(pixels "$1" blue -59 44.6 59 45)" -gt 700 ] &&
        [ "$(pixels "$1" blue -59 -45 59 -44.6)" -gt 700 ] &&
        [ "$(pixels "$1" blue -60 -44 -59.6 44)" -gt 500 ] &&
        [ "$(pixels "$1" blue 59.6 -44 60 44)" -gt 500 ]
}

# "DRUMHOLD" centred on (0, 20), and no field drawn.
on_title() {
    [ "$(pixels "$1" cyan -20 19.5 20 25)" -gt 300 ] && [ "$(pixels "$1" blue -60 -45 60 45)" -eq 0 ]
}

# "GAME OVER" centred on (0, 25.5) over the field.
game_over_shown() { [ "$(pixels "$1" cyan -30 25.5 30 32)" -gt 500 ]; }

on_attract() { has_border "$1" && game_over_shown "$1"; }

# The field with its score line at the top left, and no game-over text.
in_play() {
    has_border "$1" && ! game_over_shown "$1" && [ "$(pixels "$1" cyan -57.5 41.5 -20 44.5)" -gt 100 ]
}

# The barrels' home positions: five columns around the centre.
BARREL_HOMES=("-6,-6" "-6,-2" "-6,2" "-6,6" "-3,-4" "-3,0" "-3,4" "0,-6" "0,-2" "0,2" "0,6"
    "3,-4" "3,0" "3,4" "6,-6" "6,-2" "6,2" "6,6")

# Every barrel at home shows as a white outline of radius 1, empty inside.
expect_barrels_at_home() {
    local image="$1" home x0 y0 x1 y1
    for home in "${BARREL_HOMES[@]}"; do
        read -r x0 y0 x1 y1 <<<"$(awk -v h="$home" -v r=1.4 'BEGIN {
            split(h, c, ","); print c[1] - r, c[2] - r, c[1] + r, c[2] + r }')"
        expect_pixels "barrel at ($home)" "$image" white 20 - "$x0" "$y0" "$x1" "$y1"
        read -r x0 y0 x1 y1 <<<"$(awk -v h="$home" -v r=0.6 'BEGIN {
            split(h, c, ","); print c[1] - r, c[2] - r, c[1] + r, c[2] + r }')"
        expect_pixels "inside of the barrel at ($home)" "$image" lit 0 0 "$x0" "$y0" "$x1" "$y1"
    done
}
