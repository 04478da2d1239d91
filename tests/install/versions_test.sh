#!/usr/bin/env bash
# The project's version (CMake's) is the one every program prints and every
# release list starts with: a release that bumps it and forgets one of them
# would ship two version numbers.
# Usage: versions_test.sh VERSION BUILD_DIR SOURCE_DIR
set -euo pipefail
version=$1 build=$2 source=$3
fail() { echo "versions: $*" >&2; exit 1; }
same() { [ "$2" = "$3" ] || fail "$1 says '$2', the project is $3"; }

same "drumhold --version" "$("$build/drumhold" --version)" "drumhold $version"
same "drumhold-trace --version" "$("$build/drumhold-trace" --version)" "drumhold-trace $version"
for page in drumhold.6 drumhold-trace.6; do
    same "the .TH line of $page" "$(sed -n 's/^\.TH .* "drumhold \([^"]*\)".*/\1/p' "$build/packaging/$page")" "$version"
done
same "the newest AppStream release" \
    "$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$source/packaging/drumhold.metainfo.xml" | head -n1)" "$version"
same "NEWS.md's newest entry" "$(sed -n 's/^## \([^ ]*\) .*/\1/p' "$source/NEWS.md" | head -n1)" "$version"
deb_version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
same "debian/changelog's newest entry" "${deb_version%-*}" "$version"
echo "versions: ok"
