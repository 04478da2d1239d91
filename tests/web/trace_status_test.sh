#!/usr/bin/env bash
# The node replay tool ends as the Linux one does on what is not a clean
# replay: the same exit status (0 done, 2 bad command line or script, 3 out of
# sync) and the same words on standard error.
# Usage: trace_status_test.sh LINUX_TRACE TRACE_JS
set -euo pipefail
linux=$(realpath "$1") js=$(realpath "$2")
tmp=$(mktemp -d "${TMPDIR:-/tmp}/drumhold-web-status.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
printf '30 -\n5 space\n40 up,fire\n' >good.script
printf '30 -\ncheck 30 0123456789abcdef\n' >unsynced.script
printf '30 -\n5 sideways\n' >bad.script
printf '30 -\ncheck 5 0000000000000000\n' >late-check.script

# same STATUS ARGS...: both tools exit with STATUS and print the same; standard
# input is the file $input names, for each tool afresh.
same() {
    local want=$1 got_linux=0 got_js=0
    shift
    "$linux" "$@" <"${input:-/dev/null}" >linux.out 2>linux.err || got_linux=$?
    node "$js" "$@" <"${input:-/dev/null}" >js.out 2>js.err || got_js=$?
    if [ "$got_linux" != "$want" ] || [ "$got_js" != "$want" ]; then
        echo "FAIL $*: exit $got_linux on Linux, $got_js in node; expected $want"
        exit 1
    fi
    if ! cmp -s linux.out js.out || ! cmp -s linux.err js.err; then
        echo "FAIL $*: the outputs differ:"
        diff linux.err js.err | head -n 6
        diff linux.out js.out | head -n 6
        exit 1
    fi
    echo "same: exit $want for $*"
}

same 0 good.script
same 0 --frames 10:20 good.script
same 3 unsynced.script
same 2 bad.script
same 2 late-check.script
same 2 missing.script
same 2 --sideways good.script
input=good.script same 0 -
input=unsynced.script same 3 -
