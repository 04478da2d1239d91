#!/usr/bin/env bash
# Runs the Windows build's tests under Wine: the unit and real-component tests
# of every layer, and the comparisons with the Linux build (tests/windows).
#
# Usage: scripts/test-windows.sh WINDOWS_BUILD [CTEST_ARGS...]
#
# Wine gets a prefix of its own inside the build (made once, ~15 s), a private
# Xvfb for its windows and a wineserver that stays up for the whole run: the
# first Wine program would otherwise start one that holds ctest's output pipe
# open until it times out, and so would Wine's own start-up programs, which
# wineboot therefore runs to the end before ctest starts.
set -euo pipefail

build=$(cd "$1" && pwd)
shift
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/lib.sh"

export WINEPREFIX=$build/wine
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}  # Wine says nothing of its own
# No Mono or Gecko install dialogs; no sound drivers, so no sound device.
export WINEDLLOVERRIDES='mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv='
unset WAYLAND_DISPLAY SDL_VIDEODRIVER SDL_AUDIODRIVER

xvfb_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -f "$build/.xvfb-display"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself (-displayfd). Wine takes the size of its
# screen from the display its desktop starts on, this one, whatever display a
# test then runs the game on: the size the scaled game is tested at.
: >"$build/.xvfb-display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset \
    3>"$build/.xvfb-display" >"$build/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    number=$(tr -dc '0-9' <"$build/.xvfb-display")
    [ -n "$number" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { say "Xvfb did not start"; exit 1; }
    sleep 0.1
done
[ -n "$number" ] || { say "Xvfb gave no display number"; exit 1; }
export DISPLAY=":$number"

t=$(now)
mkdir -p "$WINEPREFIX"  # wineserver runs in the prefix folder
wineserver -p
wineboot --init </dev/null >/dev/null 2>&1
# Wine's desktop starts with the first program that looks for a window (this
# one finds no game to ask for a switch); started here, it keeps its wait out
# of the first test's time.
wine "$build/switch_display.exe" </dev/null >/dev/null 2>&1 || true
say "Wine ready in $WINEPREFIX in $(took "$t"), display $DISPLAY"

cd "$build"
# Wine's own services start and stop on a schedule of their own: its RPC
# service can keep a process waiting 10 s for an answer, and a program started
# while they start may fail before its main runs. A failed test therefore gets
# one more run, alone; the run fails when it fails again. The first failure
# stays in the log above, and the last line names every test run twice, so
# flakiness is seen rather than hidden.
failed_log=Testing/Temporary/LastTestsFailed.log
rm -f "$failed_log"
status=0
# A program that Wine leaves hanging (seen once: a test waiting 13 minutes on
# Wine's services) fails after 5 minutes and gets its second run, rather than
# holding the whole run up; tests that need longer say so themselves.
ctest --output-on-failure --timeout 300 "$@" || status=$?
if [ "$status" -eq 0 ]; then
    say "0 tests re-run"
    exit 0
fi
[ -s "$failed_log" ] || exit "$status"  # ctest itself failed, not a test
first=$(cut -d: -f2- "$failed_log")
say "the failed tests once more, one at a time:"
status=0
ctest --output-on-failure --timeout 300 --rerun-failed || status=$?
again=$(cut -d: -f2- "$failed_log" 2>/dev/null || true)
runs=""
while IFS= read -r name; do
    if [ "$status" -ne 0 ] && { [ -z "$again" ] || grep -qxF -- "$name" <<<"$again"; }; then
        runs+="${runs:+, }$name (failed again)"
    else
        runs+="${runs:+, }$name (passed)"
    fi
done <<<"$first"
say "$(wc -l <<<"$first") tests re-run: $runs"
exit "$status"
