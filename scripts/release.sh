#!/usr/bin/env bash
# Builds a release of the committed source (HEAD) into DIST (default dist/):
#   drumhold_VERSION-1_ARCH.deb         sbuild, in a clean environment, from the
#                                       source package dpkg-buildpackage -S makes
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
deb_version=$(dpkg-parsechangelog -S Version)
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

# sbuild maps the build's user namespace onto the subordinate ids that
# /etc/subuid and /etc/subgid give the user running it. A user made by adduser
# has some; root on a fresh machine has none, so it gets a range above those
# adduser hands out.
subordinate_ids() {
    local user; user=$(id -un)
    grep -qs "^$user:" /etc/subuid && grep -qs "^$user:" /etc/subgid && return 0
    [ "$(id -u)" -eq 0 ] || die "$user has no subordinate ids in /etc/subuid and /etc/subgid, which sbuild needs"
    usermod --add-subuids 700000000-700065535 --add-subgids 700000000-700065535 root
    say "gave root the subordinate ids 700000000-700065535 (/etc/subuid, /etc/subgid) for sbuild"
}

# The Debian source package: the source tarball is its upstream tarball, by
# the name Debian gives it, and dpkg-buildpackage -S adds debian/ from the
# tarball unpacked beside it. (-d: its clean step needs only debhelper; the
# build dependencies are checked where the package is built.)
t=$(now)
mkdir -p "$work/deb"
cp "$tarball" "$work/deb/drumhold_$version.orig.tar.gz"
src=$(unpack "$work/deb")
(cd "$src" && dpkg-buildpackage -S -us -uc -d) >"$work/deb-source.log" 2>&1 ||
    { tail -n 40 "$work/deb-source.log" >&2; die "dpkg-buildpackage -S failed (whole log: $work/deb-source.log)"; }
dsc=$work/deb/drumhold_$deb_version.dsc
lintian_clean "$dsc"

# The Debian package, built from that source package by sbuild in the clean
# environment of scripts/build-env.sh: only what debian/control's Build-Depends
# name is installed there, so a package the list forgets fails the build. The
# golden games are replayed inside (dh_auto_test).
env=$(scripts/build-env.sh "$dsc")
subordinate_ids
deb=drumhold_${deb_version}_$(dpkg --print-architecture).deb
DEB_BUILD_OPTIONS="noautodbgsym ${DEB_BUILD_OPTIONS:-}" \
    sbuild --chroot-mode=unshare --chroot="$env/chroot.tar" --dist="$(. /etc/os-release && echo "$VERSION_CODENAME")" \
        --no-apt-update --no-apt-upgrade --no-apt-distupgrade --no-run-lintian --no-run-autopkgtest \
        --no-run-piuparts --nolog --jobs="$jobs" --build-dir="$work/deb" "$dsc" >"$work/deb.log" 2>&1 ||
    { tail -n 60 "$work/deb.log" >&2; die "sbuild failed (whole log: $work/deb.log)"; }
cp "$work/deb/$deb" "$dist/"
artifacts+=("$dist/$deb")
say "$deb in $(took "$t"), built in a clean $(basename "$env") environment"

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
