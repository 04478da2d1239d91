#!/usr/bin/env bash
# Takes the README's screenshots of the real game on a private 800x600x16 X
# server: the title, the attract screen with the instructions scrolling, and a
# game in progress with missiles in flight. Writes title.png, attract.png and
# play.png (800x600, 8-bit RGB) into OUTDIR.
#
# Usage: scripts/screenshots.sh [BUILD_DIR] [OUTDIR]   (default: build docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out="${2:-docs/screenshots}"

. tests/e2e/screens.sh
screens_setup "$build/drumhold" "$build/screen_probe"
mkdir -p "$out"

save() { import -window root -depth 8 "PNG24:$out/$1.png" || e2e_fail "screenshot $1 failed"; }

e2e_start_x 800x600x16
e2e_start_game
window="$(e2e_game_window)"

wait_screen title 20 "title screen" on_title >/dev/null
sleep 0.5
save title

wait_screen attract 30 "attract screen" on_attract >/dev/null
sleep 4  # the first instruction lines have risen into view
save attract

e2e_hold_key space 150 "$window"
wait_screen play 10 "the game after space" in_play >/dev/null
sleep 3  # the enemies come in from the edges
xdotool keydown shift
sleep 0.4
save play
xdotool keyup shift

e2e_hold_key Escape 100 "$window"
e2e_wait_exit 5 || e2e_fail "the game did not end after Escape"
ls -l "$out"/title.png "$out"/attract.png "$out"/play.png
