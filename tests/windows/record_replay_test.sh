#!/usr/bin/env bash
# Games recorded on one platform replay in sync on the other. The Windows game
# under Wine records a game with a display switch asked for from outside (the
# message 1025); the Linux game records one too. Each replay tool then replays
# the other platform's record (exit 0), and each game replays it in its window
# ("replay ended at frame N, in sync").
# Usage: record_replay_test.sh DRUMHOLD_EXE SCREEN_PROBE TRACE_EXE SWITCH_EXE LINUX_BUILD
set -euo pipefail
. "$(dirname "$0")/../e2e/screens.sh"
export DRUMHOLD_WINDOWS_GAME=$1
wine_game="$(cd "$(dirname "$0")" && pwd)/wine_game"
screens_setup "$wine_game" "$2"
trace_exe=$3 switch_exe=$4 linux=$5
e2e_start_x 800x600x16

# Keyboard focus: Wine's windows take it when clicked; the click is harmless on Linux's.
focus() { xdotool mousemove --window "$1" 400 300 click 1; }

# Wine finds no other mode on Xvfb to switch to, so the game says that it
# goes on in a window, in a box whose OK button fills its bottom row.
dismiss_refusal() {
    local box i width height
    for i in $(seq "$(e2e_tenths 20)"); do
        box="$(e2e_find_windows Error | head -n 1)"
        if [ -n "$box" ]; then
            read -r width height _ _ <<<"$(e2e_window_geometry "$box")"
            xdotool mousemove --window "$box" $((width / 2)) $((height - 16)) click 1
            e2e_wait_window_gone "$box" 20
            return 0
        fi
        grep -q "Mode Switch Failed" "$E2E_TMP/game.err" || { [ "$i" -gt 30 ] && return 0; }
        sleep 0.1
    done
}

# record GAME FILE [SWITCH]: a short game, driven and firing, then Escape.
record() {
    local file=$2 first second
    E2E_BIN=$1
    e2e_start_game --windowed --record "$file"
    first="$(e2e_game_window 60)"
    wait_screen attract 30 "the attract screen" on_attract "$first" >/dev/null
    focus "$first"
    e2e_hold_key space 150 "$first"
    wait_screen play 10 "the game after space" in_play "$first" >/dev/null
    xdotool keydown shift
    e2e_hold_key Up 800 "$first"
    xdotool keyup shift
    second=$first
    if [ -n "${3:-}" ]; then
        wine "$3" || e2e_fail "switch_display.exe found no game window"
        second="$(e2e_new_game_window "$first" 40)"
        dismiss_refusal
        focus "$second"
        wait_screen resumed 30 "the game going on after the switch" in_play "$second" >/dev/null
    fi
    e2e_hold_key Left 600 "$second"
    e2e_hold_key Escape 100 "$second"
    e2e_wait_exit 5 || e2e_fail "still running after Escape"
    [ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
}

# replay_in_window GAME FILE: the record plays in the game's window to its end, in sync.
replay_in_window() {
    local last window
    last=$(awk '$1 == "check" { n = $2 } END { print n }' "$2")
    E2E_BIN=$1
    e2e_start_game --windowed --replay "$2"
    window="$(e2e_game_window 60)"
    e2e_wait_stderr "drumhold: replay ended at frame $last, in sync" 90
    grep -q "out of sync" "$E2E_TMP/game.err" && e2e_fail "the replay of $(basename "$2") went out of sync"
    focus "$window"
    e2e_hold_key Escape 100 "$window"
    e2e_wait_exit 5 || e2e_fail "still running after Escape"
    [ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
}

windows_record="$E2E_TMP/windows.replay"
linux_record="$E2E_TMP/linux.replay"
record "$wine_game" "$windows_record" "$switch_exe"
grep -q '^# platform Windows' "$windows_record" || e2e_fail "the Windows record does not say so"
grep -qx reinit "$windows_record" || e2e_fail "the display switch left no reinit in the Windows record"
record "$linux/drumhold" "$linux_record"

"$linux/drumhold-trace" "$windows_record" >/dev/null 2>"$E2E_TMP/trace.err" ||
    e2e_fail "Linux drumhold-trace on the Windows record: $(cat "$E2E_TMP/trace.err")"
wine "$trace_exe" "$linux_record" >/dev/null 2>"$E2E_TMP/trace.err" ||
    e2e_fail "drumhold-trace.exe on the Linux record: $(cat "$E2E_TMP/trace.err")"
replay_in_window "$wine_game" "$linux_record"
replay_in_window "$linux/drumhold" "$windows_record"
e2e_log "ok: $(grep -c '^check' "$windows_record") checks of the Windows record and" \
    "$(grep -c '^check' "$linux_record") of the Linux one in sync on the other platform"
