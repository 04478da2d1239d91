#!/usr/bin/env bash
# The node replay tool ends as the Linux one does on what is not a clean
# replay: the same exit status (0 done, 2 bad command line or script, 3 out of
# sync) and the same words on standard error.
# Usage: trace_status_test.sh LINUX_TRACE TRACE_JS
set -euo pipefail
here=$(realpath "$1") runners=(node) tools=("$(realpath "$2")")
same_stderr=1
. "$(dirname "$0")/../tools/same.sh"
cd "$same_tmp"
printf '30 -\n5 space\n40 up,fire\n' >good.script
printf '30 -\ncheck 30 0123456789abcdef\n' >unsynced.script
printf '30 -\n5 sideways\n' >bad.script
printf '30 -\ncheck 5 0000000000000000\n' >late-check.script

same "a good script" 0 good.script
same "some frames of it" 0 --frames 10:20 good.script
same "a check out of sync" 3 unsynced.script
same "an unknown key" 2 bad.script
same "a check before its frame" 2 late-check.script
same "a missing script" 2 missing.script
same "an unknown option" 2 --sideways good.script
input=good.script same "a script on standard input" 0 -
input=unsynced.script same "an unsynced one on standard input" 3 -
