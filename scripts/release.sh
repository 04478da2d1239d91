#!/usr/bin/env bash
# Builds a release of the committed source (HEAD) into DIST (default dist/):
#   drumhold_VERSION-1_ARCH.deb         dpkg-buildpackage -b from debian/
#   drumhold-VERSION-windows-x64.zip    the MinGW-w64 build's zip
#   drumhold-VERSION-web.zip            the browser build (when `make web` exists)
#   drumhold-VERSION.tar.gz             the source, as git archive makes it
#   SHA256SUMS
# Every artifact is built from the source tarball unpacked in a clean folder,
# with SOURCE_DATE_EPOCH the commit's time, so that two runs give the same bytes.
# Usage: scripts/release.sh [DIST]   (WORK: the scratch folder, default
# build-release; JOBS: parallel jobs, default nproc)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
dist=$(realpath -m "${1:-$repo/dist}")
work=$(realpath -m "${WORK:-$repo/build-release}")
jobs=${JOBS:-$(nproc)}
. "$repo/scripts/lib.sh"

cd "$repo"
git rev-parse --verify -q HEAD >/dev/null 2>&1 ||
    die "a release is made from a git checkout (the source tarball is git archive's)"
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
    say "warning: uncommitted changes are not in the release: it is HEAD's"

scripts/install-deps.sh release

git diff --quiet HEAD -- CMakeLists.txt debian/changelog ||
    die "CMakeLists.txt or debian/changelog differs from HEAD: commit the version first"
version=$(scripts/version.sh)
deb_version=$(sed -n '1s/^drumhold (\([^)]*\)).*/\1/p' debian/changelog)
[ "${deb_version%-*}" = "$version" ] ||
    die "debian/changelog's newest entry is $deb_version, the project is $version"

export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
umask 022
say "drumhold $version from $(git rev-parse --short HEAD), dated $(date -u -d "@$SOURCE_DATE_EPOCH")"

rm -rf "$work"
mkdir -p "$work" "$dist"
name=drumhold-$version
web_files=$(grep -v '^#' "$repo/web/bundle.txt")
tarball=$dist/$name.tar.gz
artifacts=()

# The source: git archive dates every file at the commit; gzip -n leaves out
# its own name and time.
git archive --format=tar --prefix="$name/" HEAD | gzip -n -9 >"$tarball"
artifacts+=("$tarball")
unpack() { mkdir -p "$1" && tar -xzf "$tarball" -C "$1" && echo "$1/$name"; }

# The Debian package. dpkg-buildpackage writes beside the source folder, so it
# gets one of its own. The tests that need no display run inside it.
t=$(now)
src=$(unpack "$work/deb")
deb=drumhold_${deb_version}_$(dpkg --print-architecture).deb
(cd "$src" && DEB_BUILD_OPTIONS="noautodbgsym ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -b -us -uc -j"$jobs") >"$work/deb.log" 2>&1 ||
    { tail -n 60 "$work/deb.log" >&2; die "dpkg-buildpackage failed (whole log: $work/deb.log)"; }
cp "$work/deb/$deb" "$dist/"
artifacts+=("$dist/$deb")
say "$deb in $(took "$t")"

# The Windows zip, named with the version by the build itself.
t=$(now)
src=$(unpack "$work/windows")
make -C "$src" windows WINDOWS_BUILD="$work/windows/build" JOBS="$jobs" \
    CMAKE_ARGS=-DBUILD_TESTING=OFF >"$work/windows.log" 2>&1 ||
    { tail -n 60 "$work/windows.log" >&2; die "make windows failed (whole log: $work/windows.log)"; }
cp "$work/windows/build/$name-windows-x64.zip" "$dist/"
artifacts+=("$dist/$name-windows-x64.zip")
say "$name-windows-x64.zip in $(took "$t")"

# The browser build, once the Makefile has a web target: build-web/'s pages,
# scripts and data, in one folder, for any static host.
src=$(unpack "$work/web")
if make -C "$src" -n web >/dev/null 2>&1; then
    t=$(now)
    make -C "$src" web JOBS="$jobs" >"$work/web.log" 2>&1 ||
        { tail -n 60 "$work/web.log" >&2; die "make web failed (whole log: $work/web.log)"; }
    stage=$work/web/stage/$name-web
    for file in $web_files; do
        mkdir -p "$(dirname "$stage/$file")"
        cp "$src/build-web/$file" "$stage/$file"
    done
    cp "$src/LICENSE" "$stage/LICENSE.txt"
    scripts/pack-zip.sh "$dist/$name-web.zip" "$work/web/stage" "$name-web"
    artifacts+=("$dist/$name-web.zip")
    say "$name-web.zip in $(took "$t")"
else
    rm -f "$dist/$name-web.zip"
    say "skipping the web zip: this source has no \`make web\` target yet"
fi

(cd "$dist" && sha256sum "${artifacts[@]##*/}" >SHA256SUMS)
say "done:"
(cd "$dist" && ls -l "${artifacts[@]##*/}" SHA256SUMS >&2)
