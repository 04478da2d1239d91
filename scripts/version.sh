#!/usr/bin/env bash
# Prints the project's version, from the one place it is written: the
# project() line of CMakeLists.txt.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
version=$(sed -n 's/^project(drumhold VERSION \([^ )]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")
[ -n "$version" ] || die "no VERSION in CMakeLists.txt's project()"
echo "$version"
