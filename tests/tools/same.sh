# same NAME WANT ARGS...: this machine's replay tool ($here) and every other
# one (${tools[i]}, run by ${runners[i]}: wine, qemu-aarch64, node) run with
# ARGS, standard input from $input (default /dev/null). Each must exit with
# status WANT and print the very bytes this machine's prints, on standard
# error too when $same_stderr is 1; the first failure ends the test. Adds the
# frame lines compared to same_frames.
# Sourced by tests/tools/same_traces.sh and tests/web/trace_status_test.sh,
# which set here, runners and tools. $same_tmp is a scratch folder for them
# too, removed at exit.

same_tmp=$(mktemp -d "${TMPDIR:-/tmp}/drumhold-same.XXXXXX")
trap 'rm -rf "$same_tmp"' EXIT
same_stderr=${same_stderr:-0}
same_frames=0

same() {
    local name=$1 want=$2 status i frames
    shift 2
    status=0
    "$here" "$@" <"${input:-/dev/null}" >"$same_tmp/here.out" 2>"$same_tmp/here.err" || status=$?
    [ "$status" = "$want" ] || { echo "FAIL $name: $here exits $status, not $want"; exit 1; }
    for i in "${!tools[@]}"; do
        status=0
        "${runners[i]}" "${tools[i]}" "$@" <"${input:-/dev/null}" >"$same_tmp/there.out" 2>"$same_tmp/there.err" ||
            status=$?
        if [ "$status" != "$want" ]; then
            echo "FAIL $name: ${tools[i]} exits $status, not $want"
            head -n 3 "$same_tmp/there.err"
            exit 1
        fi
        if ! cmp -s "$same_tmp/here.out" "$same_tmp/there.out"; then
            echo "FAIL $name: ${tools[i]} prints otherwise; the first differing lines:"
            diff "$same_tmp/here.out" "$same_tmp/there.out" | head -n 6 || true
            exit 1
        fi
        if [ "$same_stderr" = 1 ] && ! cmp -s "$same_tmp/here.err" "$same_tmp/there.err"; then
            echo "FAIL $name: ${tools[i]} says otherwise on standard error:"
            diff "$same_tmp/here.err" "$same_tmp/there.err" | head -n 6 || true
            exit 1
        fi
    done
    frames=$(grep -ci '^frame ' "$same_tmp/here.out" || true)
    same_frames=$((same_frames + frames))
    echo "same: $name (exit $want, $frames frames, $(wc -c <"$same_tmp/here.out") bytes," \
         "sha256 $(sha256sum <"$same_tmp/here.out" | cut -c1-16))"
}
