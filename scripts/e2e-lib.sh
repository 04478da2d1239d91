#!/usr/bin/env bash
# e2e-lib.sh -- helpers for end-to-end tests of the real game on a private X server.
#
# Source it from a test script, then:
#   e2e_init BINARY              temp dir, cleanup trap; BINARY is the game to run
#   e2e_start_x [WxHxD]          a private Xvfb (default 800x600x16) on a free display
#   e2e_start_game [ARGS...]     the game, sound on SDL's disk driver into the temp dir
#   e2e_wait_window NAME [S]     id of the window titled exactly NAME, polled up to S s
#   e2e_wait_new_window NAME OLD [S]   a NAME window other than OLD
#   e2e_game_window [S]          id of the game's window (titled $E2E_TITLE)
#   e2e_new_game_window OLD [S]  a game window other than OLD
#   e2e_wait_window_gone ID [S]
#   e2e_window_geometry ID       "WIDTH HEIGHT X Y" of a window
#   e2e_hold_key KEY [MS] [WIN]  key down, held MS ms (default 100), key up
#   e2e_key_on WIN KEY           one key stroke sent to that window (message boxes)
#   e2e_screenshot FILE [WIN]    PNG of the screen, or of one window
#   e2e_stay_alive S             fails unless the game is still running after S s
#   e2e_wait_exit S              waits up to S s for the game; its status in E2E_EXIT_CODE
#   e2e_wait_stderr TEXT [S]     waits until the game's standard error contains TEXT
#   e2e_fail MESSAGE             reports (with the game's output) and exits 1
# Scripts may run with `set -euo pipefail`; a helper that fails inside $(...)
# then ends the script too. Everything started here is stopped by PID when the script exits; the temp dir
# is removed unless E2E_KEEP=1. Waits poll, so a loaded machine only makes a
# test slower, never wrong; E2E_SLOW multiplies every timeout (default 1).

# The game's window title (shell/window.h): its windows are found by it.
E2E_TITLE=zandrel

E2E_TMP=""
E2E_BIN=""
E2E_XVFB_PID=""
E2E_GAME_PID=""
E2E_EXIT_CODE=""
E2E_SLOW="${E2E_SLOW:-1}"

e2e_log() { echo "e2e: $*" >&2; }

e2e_fail() {
    e2e_log "FAIL: $*"
    if [ -n "$E2E_TMP" ]; then
        for f in game.err game.out xvfb.log; do
            if [ -s "$E2E_TMP/$f" ]; then
                echo "--- $f ---" >&2
                tail -n 40 "$E2E_TMP/$f" >&2
            fi
        done
    fi
    exit 1
}

# Seconds scaled by E2E_SLOW, as a whole number of tenths for the poll loops.
e2e_tenths() { awk -v s="$1" -v k="$E2E_SLOW" 'BEGIN { printf "%d", s * k * 10 }'; }

e2e_stop_pid() {
    local pid="$1"
    [ -n "$pid" ] || return 0
    kill -0 "$pid" 2>/dev/null || return 0
    kill -TERM "$pid" 2>/dev/null || true
    local i
    for i in $(seq 30); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    return 0
}

e2e_cleanup() {
    e2e_stop_pid "$E2E_GAME_PID"
    e2e_stop_pid "$E2E_XVFB_PID"
    if [ -n "$E2E_TMP" ] && [ "${E2E_KEEP:-0}" != 1 ]; then
        rm -rf "$E2E_TMP"
    elif [ -n "$E2E_TMP" ]; then
        e2e_log "kept $E2E_TMP"
    fi
}

e2e_init() {
    E2E_BIN="$1"
    [ -x "$E2E_BIN" ] || e2e_fail "no game binary at '$E2E_BIN'"
    for tool in Xvfb xdotool xwininfo; do
        command -v "$tool" >/dev/null || e2e_fail "$tool is not installed (scripts/install-deps.sh)"
    done
    E2E_TMP="$(mktemp -d "${TMPDIR:-/tmp}/drumhold-e2e.XXXXXX")"
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM
}

# Xvfb picks a free display number itself (-displayfd), so tests run in
# parallel never collide.
e2e_start_x() {
    local geometry="${1:-800x600x16}"
    local fifo="$E2E_TMP/display"
    : >"$fifo"
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -noreset \
        3>"$fifo" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local i number=""
    for i in $(seq "$(e2e_tenths 30)"); do
        number="$(tr -dc '0-9' <"$fifo")"
        [ -n "$number" ] && break
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || e2e_fail "Xvfb did not start"
        sleep 0.1
    done
    [ -n "$number" ] || e2e_fail "Xvfb gave no display number"
    export DISPLAY=":$number"
    unset WAYLAND_DISPLAY SDL_VIDEODRIVER
    for i in $(seq "$(e2e_tenths 30)"); do
        xwininfo -root >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    e2e_fail "X server $DISPLAY does not answer"
}

# In a sanitizer build the game's memory errors still end the test; its leak
# check is off, because Mesa's driver modules, unloaded behind SDL at exit, leave
# allocations that cannot be traced to any library (the unit tests check the
# game's own code for leaks).
e2e_start_game() {
    LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}detect_leaks=0" \
        SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$E2E_TMP/audio.raw" \
        "$E2E_BIN" "$@" >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err" &
    E2E_GAME_PID=$!
}

e2e_game_alive() { [ -n "$E2E_GAME_PID" ] && kill -0 "$E2E_GAME_PID" 2>/dev/null; }

# Ids of the windows titled exactly NAME, one a line.
e2e_find_windows() {
    xwininfo -root -tree 2>/dev/null |
        awk -v name="\"$1\":" '$1 ~ /^0x/ && $2 == name { print $1 }'
}

e2e_wait_window() {
    local name="$1" seconds="${2:-30}" i id
    for i in $(seq "$(e2e_tenths "$seconds")"); do
        id="$(e2e_find_windows "$name" | head -n 1)"
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    e2e_fail "no window '$name' within ${seconds}s"
}

e2e_wait_new_window() {
    local name="$1" old="$2" seconds="${3:-30}" i id
    for i in $(seq "$(e2e_tenths "$seconds")"); do
        id="$(e2e_find_windows "$name" | { grep -vx "$old" || true; } | head -n 1)"
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    e2e_fail "no new window '$name' within ${seconds}s"
}

e2e_game_window() { e2e_wait_window "$E2E_TITLE" "$@"; }
e2e_new_game_window() { e2e_wait_new_window "$E2E_TITLE" "$@"; }

e2e_wait_window_gone() {
    local id="$1" seconds="${2:-30}" i
    for i in $(seq "$(e2e_tenths "$seconds")"); do
        xwininfo -id "$id" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    e2e_fail "window $id still there after ${seconds}s"
}

e2e_window_geometry() {
    xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X:/ { x = $NF }
        /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF }
        /^ *Height:/ { h = $NF }
        END { print w, h, x, y }'
}

e2e_hold_key() {
    local key="$1" ms="${2:-100}" window="${3:-}"
    if [ -n "$window" ]; then
        xdotool windowfocus "$window" 2>/dev/null || true
    fi
    xdotool keydown "$key"
    sleep "$(awk -v ms="$ms" 'BEGIN { printf "%.3f", ms / 1000 }')"
    xdotool keyup "$key"
}

e2e_key_on() { xdotool key --window "$1" "$2"; }

e2e_screenshot() {
    local file="$1" window="${2:-root}"
    command -v import >/dev/null || e2e_fail "import (ImageMagick) is not installed"
    import -window "$window" "$file" || e2e_fail "screenshot $file failed"
}

e2e_stay_alive() {
    local i
    for i in $(seq "$(e2e_tenths "$1")"); do
        e2e_game_alive || e2e_fail "the game ended early"
        sleep 0.1
    done
    e2e_game_alive || e2e_fail "the game ended early"
}

e2e_wait_exit() {
    local seconds="$1" i
    for i in $(seq "$(e2e_tenths "$seconds")"); do
        e2e_game_alive || break
        sleep 0.1
    done
    if e2e_game_alive; then
        return 1
    fi
    E2E_EXIT_CODE=0
    wait "$E2E_GAME_PID" || E2E_EXIT_CODE=$?
    E2E_GAME_PID=""
    return 0
}

e2e_wait_stderr() {
    local text="$1" seconds="${2:-30}" i
    for i in $(seq "$(e2e_tenths "$seconds")"); do
        grep -qF -- "$text" "$E2E_TMP/game.err" 2>/dev/null && return 0
        sleep 0.1
    done
    e2e_fail "the game never said '$text'"
}
