#!/usr/bin/env bash
# With no display at all the game explains why on standard error and ends at
# once with exit status 1: a launcher must see that it never ran.
set -euo pipefail
. "$(dirname "$0")/../../scripts/e2e-lib.sh"
e2e_init "$1"
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy

start=$(date +%s)
code=0
timeout 60 "$E2E_BIN" >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err" || code=$?
elapsed=$(( $(date +%s) - start ))

[ "$code" != 124 ] || e2e_fail "the game hung without a display"
[ "$elapsed" -le 20 ] || e2e_fail "took ${elapsed}s to give up"
if grep -q "Error Creating OpenGL Window" "$E2E_TMP/game.err"; then
    [ "$code" = 1 ] || e2e_fail "exit code $code after a failed window"
elif grep -q "RegisterClassEx Failed!" "$E2E_TMP/game.err"; then
    grep -q "Error Registering Window Class!" "$E2E_TMP/game.err" || e2e_fail "second box missing"
    [ "$code" = 255 ] || e2e_fail "exit code $code after a failed registration"
else
    e2e_fail "no error on standard error (exit code $code)"
fi
e2e_log "ok"
