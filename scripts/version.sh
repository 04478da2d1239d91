#!/usr/bin/env bash
# Prints the project's version, from the one place it is written: the
# project() line of CMakeLists.txt.
set -euo pipefail
version=$(sed -n 's/^project(drumhold VERSION \([^ )]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")
[ -n "$version" ] || { echo "version: no VERSION in CMakeLists.txt's project()" >&2; exit 1; }
echo "$version"
