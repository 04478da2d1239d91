#!/usr/bin/env bash
# Makes ready the clean environment the Debian package is built in: a chroot
# of this machine's Debian release, made by mmdebstrap from the same archive
# apt uses here, holding the build-essential set (the buildd variant) and what
# the source package's Build-Depends name for a plain build, and nothing else.
# sbuild builds in a copy of it, so a package the list forgets fails the build.
# Made once into a cache folder named after the release, the architecture and
# a hash of the Build-Depends and of this recipe; with that folder in place a
# run only checks and prints it.
#
# Usage: scripts/build-env.sh DSC
#   Prints the cache folder, which holds chroot.tar, on standard output and
#   nothing else there; progress goes to standard error. The cache root is
#   $DRUMHOLD_BUILD_ENV_CACHE, by default
#   ${XDG_CACHE_HOME:-$HOME/.cache}/drumhold/build-env.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
exec 3>&1 1>&2  # standard output is for the folder alone
. "$repo/scripts/lib.sh"
[ $# -eq 1 ] && [ -f "$1" ] || die "usage: $0 DSC"
dsc=$(realpath "$1")

suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
arch=$(dpkg --print-architecture)
build_depends=$(awk '/^Build-Depends:/ { on = 1; print; next } on && /^[ \t]/ { print; next } { on = 0 }' "$dsc")
[ -n "$build_depends" ] || die "$dsc has no Build-Depends"
open_cache "${DRUMHOLD_BUILD_ENV_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/drumhold/build-env}" \
    "$suite=$arch" -- <(echo "$build_depends")

# The sources of the chroot's apt: those of this machine.
archive_stanzas deb >archive.sources
archive_lines deb >archive.list
mirrors=()
for f in archive.sources archive.list; do [ -s "$f" ] && mirrors+=("$PWD/$f"); done
[ ${#mirrors[@]} -gt 0 ] || die "found no Debian archive in /etc/apt/sources.list{,.d}"

# In a user namespace (no root needed, nothing mounted on this machine). The
# package lists stay, so that sbuild need not fetch them again; the build
# dependencies are installed by apt from the .dsc, as sbuild would.
step chroot mmdebstrap --mode=unshare --variant=buildd --architectures="$arch" \
    --skip=cleanup/apt/lists \
    --customize-hook="upload '$dsc' /tmp/build-depends.dsc" \
    --customize-hook='chroot "$1" apt-get build-dep -y --no-install-recommends /tmp/build-depends.dsc' \
    --customize-hook='rm -f "$1/tmp/build-depends.dsc"' \
    "$suite" "$prefix/chroot.tar" "${mirrors[@]}"
close_cache
