#!/usr/bin/env bash
# scripts/install-deps.sh, reading debian/control, against stand-ins for
# dpkg-query and apt-get: on a machine that lacks a package, the package lists
# are refreshed before anything is installed (a fresh machine has none), and
# only what is missing is asked for; a test tool only with --tests; with
# everything present, apt is not touched at all.
set -euo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps.sh"
shims=$(mktemp -d)
trap 'rm -rf "$shims"' EXIT
fail() { echo "deps: $*" >&2; exit 1; }

cat >"$shims/dpkg-query" <<'SHIM'
#!/bin/sh
for package; do :; done
[ "$package" = "$MISSING" ] && { echo "dpkg-query: no packages found matching $package" >&2; exit 1; }
printf 'install ok installed'
SHIM
cat >"$shims/apt-get" <<'SHIM'
#!/bin/sh
echo "$*" >>"$APT_LOG"
SHIM
printf '#!/bin/sh\necho 0\n' >"$shims/id"  # as root, so no sudo in the way
chmod +x "$shims"/*

run() { PATH="$shims:$PATH" MISSING="$1" APT_LOG="$shims/apt.log" bash "$script" "${@:2}" >/dev/null; }

run xdotool
[ ! -e "$shims/apt.log" ] || fail "a test tool installed without --tests: $(cat "$shims/apt.log")"
run xdotool --tests
expected=$'update -qq\ninstall -y -q -o DPkg::Lock::Timeout=600 --no-install-recommends xdotool'
[ "$(cat "$shims/apt.log")" = "$expected" ] ||
    fail "apt-get was run as: $(cat "$shims/apt.log")"

rm -f "$shims/apt.log"
run none
[ ! -e "$shims/apt.log" ] || fail "apt-get ran with nothing missing: $(cat "$shims/apt.log")"
echo "deps: ok"
