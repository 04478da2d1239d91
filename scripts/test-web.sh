#!/usr/bin/env bash
# The browser build's tests: the node replay tool against the Linux one (the
# same bytes on the golden scripts and on heavy play, the same exit statuses),
# then the page in headless Chromium (tests/web/browser_test.py) and in its
# emulation of a phone (tests/web/phone_test.py).
#
# Usage: scripts/test-web.sh LINUX_BUILD WEB_BUILD
set -euo pipefail
linux=$(cd "$1" && pwd)
web=$(cd "$2" && pwd)
repo=$(cd "$(dirname "$0")/.." && pwd)
failed=()
run() {
    local name=$1 t=$SECONDS
    shift
    echo "== $name"
    if "$@"; then
        echo "== $name: passed in $((SECONDS - t)) s"
    else
        echo "== $name: FAILED"
        failed+=("$name")
    fi
}

run "node replay tool: same traces as Linux" \
    bash "$repo/tests/tools/same_traces.sh" "$linux" "$repo/tests/tools/golden" node "$web/drumhold-trace.js"
run "node replay tool: same exit statuses as Linux" \
    bash "$repo/tests/web/trace_status_test.sh" "$linux/drumhold-trace" "$web/drumhold-trace.js"
# Needs chromium, chromium-driver and python3-selenium (scripts/web-deps.sh
# installs them); without them it says so and fails.
run "browser (headless Chromium): the page" \
    /usr/bin/python3 "$repo/tests/web/browser_test.py" "$web" "$linux" "$linux/web.png"
run "browser (headless Chromium): the page on a phone, installed and offline" \
    /usr/bin/python3 "$repo/tests/web/phone_test.py" "$web" "$linux" "$linux"

if [ ${#failed[@]} -gt 0 ]; then
    printf 'test-web: FAILED: %s\n' "${failed[@]}"
    exit 1
fi
echo "test-web: all passed"
