#!/usr/bin/env bash
# Tries the release in DIST (default dist/) as its users would: the checksums;
# lintian; the Debian package's own tests (debian/tests) run by autopkgtest on
# this machine, which installs it, then the package purged, leaving no file
# behind; the zips' contents; and the source tarball unpacked in a temporary
# folder, where `make test` must pass.
# Installs and removes the package system-wide: run as root (or with sudo).
# Usage: scripts/test-release.sh [DIST]   (JOBS: parallel jobs for make test)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
dist=$(realpath -m "${1:-$repo/dist}")
jobs=${JOBS:-$(nproc)}
version=$("$repo/scripts/version.sh")
name=drumhold-$version
web_files=$(grep -v '^#' "$repo/web/bundle.txt")
. "$repo/scripts/lib.sh"
start=$(now)
as_root true || die "installing the package needs root: run as root or with sudo"

"$repo/scripts/install-deps.sh" release
debs=("$dist"/drumhold_"$version"-*_"$(dpkg --print-architecture)".deb)
[ -f "${debs[0]}" ] || die "no drumhold_$version package in $dist (make release)"
deb=${debs[0]}
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || die "SHA256SUMS does not match $dist"
say "checksums ok"

lintian_clean "$deb"

# --- the package installed, tried, purged -----------------------------------
tmp=$(mktemp -d)
installed=0
cleanup() {
    [ "$installed" -eq 0 ] || as_root dpkg --purge drumhold >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap cleanup EXIT
if dpkg-query -W -f='${Status}' drumhold 2>/dev/null | grep -q 'ok installed'; then
    die "a drumhold package is installed already: remove it first (dpkg --purge drumhold)"
fi
# The tests of the installed package (debian/tests) run in the source tree.
tar -xzf "$dist/$name.tar.gz" -C "$tmp"
[ ! -e "$tmp/$name/.git" ] || die "the tarball holds .git"
# The package's dependencies and the tests' first, so that the lists before
# and after differ by the package alone.
as_root apt-get satisfy -y -q -o DPkg::Lock::Timeout=600 --no-install-recommends \
    "$(dpkg-deb -f "$deb" Depends)" "$(sed -n 's/^Depends: @, *//p' "$tmp/$name/debian/tests/control" | paste -sd,)" \
    >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log" >&2; die "apt-get could not install the dependencies"; }
snapshot() { { find /usr /etc /opt /var/games -xdev 2>/dev/null || true; } | LC_ALL=C sort; }
snapshot >"$tmp/before"

# autopkgtest installs the package here (the null testbed: this machine) and
# runs its tests: both programs from /usr/games, the golden games through the
# packaged drumhold-trace, the game quitting on Esc under xvfb-run.
t=$(now)
installed=1
as_root autopkgtest --output-dir "$tmp/autopkgtest" "$deb" "$tmp/$name/" -- null >"$tmp/autopkgtest.log" 2>&1 ||
    { tail -n 60 "$tmp/autopkgtest.log" >&2; die "autopkgtest failed (its summary above)"; }
say "autopkgtest passed in $(took "$t"):"
sed 's/^/    /' "$tmp/autopkgtest/summary" >&2

# What autopkgtest leaves to others: where the package puts its files, and
# that purging it leaves none behind.
dpkg-query -L drumhold | while read -r path; do [ -d "$path" ] || echo "$path"; done >"$tmp/files"
! grep -v '^/usr/' "$tmp/files" || die "files outside /usr"
as_root dpkg --purge drumhold >"$tmp/dpkg.log" 2>&1 || { cat "$tmp/dpkg.log" >&2; die "dpkg --purge failed"; }
installed=0
snapshot >"$tmp/after"
# Another program installing at the same time on a shared machine adds files
# that belong to its own packages; what no package owns is ours.
left=$(comm -13 "$tmp/before" "$tmp/after" | while read -r path; do
    dpkg-query -S "$path" >/dev/null 2>&1 || echo "$path"
done)
[ -z "$left" ] || die "left behind after dpkg --purge:"$'\n'"$left"
gone=$(comm -23 "$tmp/before" "$tmp/after")
[ -z "$gone" ] || die "gone after install and purge:"$'\n'"$gone"
while read -r path; do [ ! -e "$path" ] || die "$path is still there after dpkg --purge"; done <"$tmp/files"
say "dpkg --purge removes every file it installed ($(wc -l <"$tmp/files") files, all in /usr)"

# --- the zips ---------------------------------------------------------------
# The Windows zip: what the README says it holds, in one drumhold/ folder.
zip=$dist/$name-windows-x64.zip
[ -f "$zip" ] || die "no $zip"
expected="drumhold/LICENSE.txt
drumhold/OCRABold.ttf
drumhold/README.txt
drumhold/drumhold-trace.exe
drumhold/drumhold.exe
drumhold/licences/FreeType-FTL.txt
drumhold/licences/MinGW-w64-runtime.txt
drumhold/licences/OCR-A-font.txt
drumhold/licences/SDL2-LICENSE.txt"
listing=$(zipinfo -1 "$zip" | LC_ALL=C sort)
missing=$(comm -23 <(echo "$expected") <(echo "$listing"))
[ -z "$missing" ] || die "$zip lacks:"$'\n'"$missing"
for exe in drumhold.exe drumhold-trace.exe; do
    [ "$(unzip -p "$zip" "drumhold/$exe" | head -c 2)" = MZ ] || die "$exe in the zip is no Windows program"
done
readme=$(unzip -p "$zip" drumhold/README.txt)
grep -q '^## Starting the game' <<<"$readme" || die "the zip's README.txt is not the one for Windows players"
! grep -q '^@README.md#' <<<"$readme" || die "the zip's README.txt lacks a section of README.md"
say "the Windows zip holds the programs, README.txt, LICENSE.txt, the font and the licences"
web=$dist/$name-web.zip
if [ -f "$web" ]; then
    listing=$(zipinfo -1 "$web")
    for file in $web_files; do
        grep -qx "$name-web/$file" <<<"$listing" || die "$web has no $name-web/$file"
    done
    say "the web zip holds the page, the game, its font and the node replay tool"
else
    say "no web zip in this release"
fi

# --- the source tarball, on its own -----------------------------------------
t=$(now)
make -C "$tmp/$name" test JOBS="$jobs" >"$tmp/make-test.log" 2>&1 ||
    { tail -n 80 "$tmp/make-test.log" >&2; die "make test fails in the unpacked source tarball"; }
grep -E '^[0-9]+% tests passed' "$tmp/make-test.log" >&2 || true
say "the source tarball passes make test on its own ($(took "$t"))"
say "all passed in $(took "$start")"
