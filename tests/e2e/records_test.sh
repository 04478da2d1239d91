#!/usr/bin/env bash
# Recorded games, end to end: a game with a display switch replays in sync
# headless and in the window; a game killed outright leaves the file it was to
# replace or a record that replays, without its messages in it when standard
# error is closed; a game that never starts leaves the file as it was; a disk
# that fills, a reader that goes away and a reader that stalls never stop or
# hold the game; Esc and SIGTERM end it within a second with a stalled record
# pipe and during a flood of reinit lines; a FILE that cannot be used (a named
# pipe nobody opens among them) is refused before any window, and neither
# SIGUSR1 meanwhile nor a standard error nobody reads ends the game instead.
# timeout: 900
set -euo pipefail
. "$(dirname "$0")/screens.sh"
screens_setup "$1" "$2"
trace="$3"
disk="$E2E_TMP/disk"
STALLED_PID=""
records_cleanup() {
    [ -z "$STALLED_PID" ] || kill "$STALLED_PID" 2>/dev/null || true
    ! mountpoint -q "$disk" || umount "$disk"
    e2e_cleanup
}
trap records_cleanup EXIT
e2e_start_x 800x600x16

# The last frame a record checks.
last_check() { awk '$1 == "check" { n = $2 } END { print n }' "$1"; }

# Starts a recorded game and puts it in play, in the window `window`.
start_playing() {
    e2e_start_game --windowed "$@"
    window="$(e2e_game_window)"
    wait_screen attract 30 "attract screen" on_attract "$window" >/dev/null
    e2e_hold_key space 150 "$window"
    wait_screen play 10 "the game after space" in_play "$window" >/dev/null
}

# Quick taps of the arrows: two record lines each, a few kilobytes in seconds.
tap_keys() { xdotool key --delay 20 --repeat "$1" Left Right >/dev/null 2>&1 || true; }

# Runs `$@` (which ends the game) and fails unless the game is gone within 1 s;
# the time it took goes to the log.
ends_within_a_second() {
    local what="$1" start ms
    shift
    start=$(date +%s%N)
    "$@"
    e2e_wait_exit 5 || e2e_fail "$what: still running after 5 s"
    ms=$((($(date +%s%N) - start) / 1000000))
    e2e_log "$what: ended in $ms ms (exit $E2E_EXIT_CODE)"
    [ "$ms" -le $((1000 * E2E_SLOW)) ] || e2e_fail "$what: took $ms ms"
}

# Replays RECORD in the window until it says it ended in sync at the frame
# the replay tool ended at (after replays_headless), then Esc.
replays_in_window() {
    local record="$1" window last
    last="$(tail -n 1 "$E2E_TMP/trace.out" | awk '{ print $2 }')"
    e2e_start_game --windowed --replay "$record"
    window="$(e2e_game_window)"
    e2e_wait_stderr "drumhold: replay ended at frame $last, in sync" 90
    grep -q "out of sync" "$E2E_TMP/game.err" && e2e_fail "the replay went out of sync"
    e2e_hold_key Escape 100 "$window"
    e2e_wait_exit 5 || e2e_fail "still running after Escape"
    [ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "replay: exit code $E2E_EXIT_CODE"
}

replays_headless() {
    "$trace" "$1" >"$E2E_TMP/trace.out" 2>"$E2E_TMP/trace.err" ||
        e2e_fail "drumhold-trace $1: $(cat "$E2E_TMP/trace.err")"
}

e2e_log "a game with a display switch replays in sync, headless and in the window"
record="$E2E_TMP/game.replay"
start_playing --record "$record"
first="$window"
xdotool keydown shift
e2e_hold_key Up 800 "$first"
xdotool keyup shift
kill -USR1 "$E2E_GAME_PID"
second="$(e2e_new_game_window "$first" 40)"
wait_screen resumed 30 "the game going on after the switch" in_play "$second" >/dev/null
e2e_hold_key Left 600 "$second"
e2e_hold_key Escape 100 "$second"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
grep -qx reinit "$record" || e2e_fail "the display switch left no reinit in the record"
[ "$(last_check "$record")" -gt 100 ] || e2e_fail "the record checks no later frame than $(last_check "$record")"
replays_headless "$record"
# A pipe cannot be read twice: the tool streams it, the window refuses it at once.
"$trace" <(cat "$record") | cmp -s - "$E2E_TMP/trace.out" || e2e_fail "drumhold-trace <(...) differs from the file"
status=0
"$E2E_BIN" --windowed --replay <(cat "$record") 2>"$E2E_TMP/pipe.err" || status=$?
[ "$status" = 2 ] && grep -q "not a regular file" "$E2E_TMP/pipe.err" ||
    e2e_fail "--replay of a pipe: exit $status, $(cat "$E2E_TMP/pipe.err")"
replays_in_window "$record"

e2e_log "a game killed outright leaves the file as it was, or a record that replays"
record="$E2E_TMP/killed.replay"
cp "$E2E_TMP/game.replay" "$record"
# Standard error closed, with something to say on it (no sound device).
start_unheard() {
    SDL_AUDIODRIVER=none "$E2E_BIN" --windowed --record "$record" >/dev/null 2>&- &
    E2E_GAME_PID=$!
    window="$(e2e_game_window)"
}
start_unheard
kill -KILL "$E2E_GAME_PID"  # during the title: no frame played yet
e2e_wait_exit 5 || e2e_fail "still running after SIGKILL"
cmp -s "$record" "$E2E_TMP/game.replay" || e2e_fail "a game killed in its title changed the file"
start_unheard
wait_screen attract 30 "attract screen" on_attract "$window" >/dev/null
e2e_hold_key space 150 "$window"
wait_screen play 10 "the game after space" in_play "$window" >/dev/null
xdotool keydown shift
e2e_hold_key Right 2500 "$window"
xdotool keyup shift
kill -KILL "$E2E_GAME_PID"
e2e_wait_exit 5 || e2e_fail "still running after SIGKILL"
[ "$(last_check "$record")" -gt 100 ] || e2e_fail "the killed record checks no later frame than $(last_check "$record")"
grep -q "^drumhold:" "$record" && e2e_fail "the game's messages went into its record"
replays_headless "$record"

e2e_log "a game that never starts leaves the file as it was"
cp "$record" "$E2E_TMP/before.replay"
status=0
DISPLAY= "$E2E_BIN" --windowed --record "$record" 2>/dev/null || status=$?
[ "$status" = 1 ] || e2e_fail "--record without a display: exit $status"
cmp -s "$record" "$E2E_TMP/before.replay" || e2e_fail "a game without a display changed the file"

# A record written over the replay it is made from would lose the player's file.
ln -s "$record" "$E2E_TMP/same.replay"
status=0
"$E2E_BIN" --windowed --replay "$record" --record "$E2E_TMP/same.replay" 2>/dev/null || status=$?
[ "$status" = 2 ] || e2e_fail "--record over the --replay file: exit $status"
cmp -s "$record" "$E2E_TMP/before.replay" || e2e_fail "--record over the --replay file changed it"

e2e_log "a file that cannot take the record is refused before any window"
status=0
"$E2E_BIN" --windowed --record /dev/full 2>"$E2E_TMP/full.err" || status=$?
[ "$status" = 2 ] && grep -q "No space left on device" "$E2E_TMP/full.err" ||
    e2e_fail "--record /dev/full: exit $status, $(cat "$E2E_TMP/full.err")"
# The same said on a standard error that nobody reads: refused, not killed.
mkfifo "$E2E_TMP/unread"
exec 3<>"$E2E_TMP/unread" 4>"$E2E_TMP/unread" 3<&-
status=0
"$E2E_BIN" --windowed --record /dev/full 2>&4 || status=$?
exec 4>&-
[ "$status" = 2 ] || e2e_fail "--record /dev/full, standard error unread: exit $status"
# A named pipe nobody opens: --replay refuses it at once, --record after
# waiting 2 s for a reader, whatever SIGUSR1 asks meanwhile.
mkfifo "$E2E_TMP/nobody"
status=0
timeout 10 "$E2E_BIN" --windowed --replay "$E2E_TMP/nobody" 2>/dev/null || status=$?
[ "$status" = 2 ] || e2e_fail "--replay of a pipe nobody writes: exit $status"
"$E2E_BIN" --windowed --record "$E2E_TMP/nobody" 2>/dev/null &
E2E_GAME_PID=$!
sleep 0.5
kill -USR1 "$E2E_GAME_PID"
e2e_wait_exit 5 || e2e_fail "--record of a pipe nobody reads: still waiting after 5 s"
[ "$E2E_EXIT_CODE" = 2 ] || e2e_fail "--record of a pipe nobody reads: exit $E2E_EXIT_CODE"

e2e_log "a disk that fills mid-game: the game plays on, the record replays"
mkdir "$disk"
if mount -t tmpfs -o size=64k drumhold-e2e "$disk" 2>/dev/null; then
    # All but one page of it taken already.
    head -c $((60 * 1024)) /dev/zero >"$disk/filler"
    e2e_log "on a 64 KiB tmpfs with $(df -B1 --output=avail "$disk" | tail -1) bytes free"
    limit=""
else
    # No mounting here: the same failure from a file size limit (in KiB).
    e2e_log "no tmpfs can be mounted: a 4 KiB file size limit instead"
    limit=4
fi
record="$disk/full$(printf '\033')[2J.replay"
if [ -n "$limit" ]; then
    # No disk audio either: its file would meet the same limit.
    (ulimit -f "$limit" && SDL_AUDIODRIVER=dummy exec "$E2E_BIN" --windowed --record "$record") \
        >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err" &
    E2E_GAME_PID=$!
    window="$(e2e_game_window)"
    wait_screen attract 30 "attract screen" on_attract "$window" >/dev/null
    e2e_hold_key space 150 "$window"
else
    start_playing --record "$record"
fi
for _ in $(seq 40); do
    grep -q "recording stops" "$E2E_TMP/game.err" && break
    tap_keys 20
    e2e_game_alive || e2e_fail "the game ended when its disk filled"
done
grep -q "recording stops" "$E2E_TMP/game.err" || e2e_fail "the disk never filled"
grep -q "$(printf '\033')" "$E2E_TMP/game.err" && e2e_fail "a raw control byte reached the terminal"
e2e_stay_alive 1
e2e_hold_key Escape 100 "$window"
e2e_wait_exit 5 || e2e_fail "still running after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE after the disk filled"
[ "$(tail -c 1 "$record" | od -An -c | tr -d ' ')" = '\n' ] || e2e_fail "the record does not end at a line's end"
e2e_log "the full disk's record: $(wc -c <"$record") bytes, checked to frame $(last_check "$record")"
cp "$record" "$E2E_TMP/full.replay"
[ -n "$limit" ] || umount "$disk"
replays_headless "$E2E_TMP/full.replay"
replays_in_window "$E2E_TMP/full.replay"

e2e_log "a reader that goes away: the game plays on"
mkfifo "$E2E_TMP/gone"
head -c 300 "$E2E_TMP/gone" >/dev/null &
start_playing --record "$E2E_TMP/gone"
e2e_wait_stderr "Broken pipe; recording stops" 30
e2e_stay_alive 1
ends_within_a_second "Esc after the reader went away" e2e_hold_key Escape 100 "$window"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"

# A reader that opens the pipe, makes it one page small and never reads.
stalled_reader() {
    # 1031: F_SETPIPE_SZ (perl is in every Debian system).
    perl -e 'open(my $pipe, "<", $ARGV[0]) or die "$ARGV[0]: $!"; fcntl($pipe, 1031, 4096) or die "$!"; sleep 3600' \
        "$1" &
    STALLED_PID=$!
}
# True while a thread of the game waits to write into a full pipe.
writer_blocked() { grep -qs pipe_write /proc/"$E2E_GAME_PID"/task/*/wchan; }
for ending in Escape TERM; do
    e2e_log "a stalled reader: $ending ends the game at once"
    rm -f "$E2E_TMP/stalled"
    mkfifo "$E2E_TMP/stalled"
    stalled_reader "$E2E_TMP/stalled"
    start_playing --record "$E2E_TMP/stalled"
    for _ in $(seq 40); do
        writer_blocked && break
        tap_keys 20
    done
    writer_blocked || e2e_fail "the record's writer never blocked"
    tap_keys 20  # the writer is blocked; the game is not
    e2e_game_alive || e2e_fail "the game ended with a stalled reader"
    if [ "$ending" = Escape ]; then
        ends_within_a_second "Esc with a stalled record pipe" e2e_hold_key Escape 100 "$window"
    else
        ends_within_a_second "SIGTERM with a stalled record pipe" kill -TERM "$E2E_GAME_PID"
    fi
    [ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
    grep -q "not reading" "$E2E_TMP/game.err" || e2e_fail "no word on the record left unwritten"
    kill "$STALLED_PID" 2>/dev/null || true
    wait "$STALLED_PID" 2>/dev/null || true
    STALLED_PID=""
done

e2e_log "a flood of reinit lines: one title, and Esc or SIGTERM end it at once"
flood="$E2E_TMP/flood.replay"
{
    echo "3 -"
    awk 'BEGIN { for (i = 0; i < 100000; i++) print "reinit" }'
    echo "30000 -"
} >"$flood"
for ending in Escape TERM; do
    e2e_start_game --windowed --replay "$flood"
    window="$(e2e_game_window)"
    sleep 7  # the first title, three frames, and into the flood's title
    if [ "$ending" = Escape ]; then
        ends_within_a_second "Esc during a reinit flood" e2e_hold_key Escape 100 "$window"
    else
        ends_within_a_second "SIGTERM during a reinit flood" kill -TERM "$E2E_GAME_PID"
    fi
    [ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
done
e2e_log "ok"
