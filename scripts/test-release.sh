#!/usr/bin/env bash
# Tries the release in DIST (default dist/) as its users would: the checksums;
# lintian; the Debian package installed with apt-get, both programs answering
# from /usr/games, the game started windowed on a private X server and quit with
# Esc, then removed, leaving no file behind; the zips' contents; and the
# source tarball unpacked in a temporary folder, where `make test` must pass.
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

# --- lintian ---------------------------------------------------------------
# (lintian's warning about running as root is no finding)
lintian_status=0
lintian_out=$(lintian --fail-on error,warning "$deb" 2>&1) || lintian_status=$?
lintian_out=$(grep -v 'running with root privileges' <<<"$lintian_out" || true)
[ "$lintian_status" = 0 ] || die "lintian:"$'\n'"$lintian_out"
say "lintian ok${lintian_out:+:$'\n'$lintian_out}"

# --- install, run, remove ---------------------------------------------------
tmp=$(mktemp -d)
installed=0
cleanup() {
    [ "$installed" -eq 0 ] || as_root dpkg -r drumhold >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap cleanup EXIT
export DEBIAN_FRONTEND=noninteractive
apt=(apt-get -y -q -o DPkg::Lock::Timeout=300 --no-install-recommends)
if dpkg-query -W -f='${Status}' drumhold 2>/dev/null | grep -q 'ok installed'; then
    die "a drumhold package is installed already: remove it first (dpkg -r drumhold)"
fi
# Its dependencies first, so that the lists before and after differ by the
# package alone.
as_root "${apt[@]}" satisfy "$(dpkg-deb -f "$deb" Depends)" >"$tmp/apt.log" 2>&1 ||
    { cat "$tmp/apt.log" >&2; die "apt-get could not install the package's dependencies"; }
snapshot() { { find /usr /etc /opt /var/games -xdev 2>/dev/null || true; } | LC_ALL=C sort; }
snapshot >"$tmp/before"
installed=1
as_root "${apt[@]}" install "$deb" >"$tmp/apt.log" 2>&1 ||
    { cat "$tmp/apt.log" >&2; die "apt-get install $deb failed"; }
dpkg-query -L drumhold | while read -r path; do [ -d "$path" ] || echo "$path"; done >"$tmp/files"
say "the package installs:"
sed 's/^/    /' "$tmp/files" >&2
grep -v '^/usr/' "$tmp/files" && die "files outside /usr"
for program in drumhold drumhold-trace; do
    [ -x "/usr/games/$program" ] || die "no /usr/games/$program"
    answer=$("/usr/games/$program" --version) || die "/usr/games/$program --version failed"
    [ "$answer" = "$program $version" ] || die "/usr/games/$program --version says '$answer'"
done
say "drumhold and drumhold-trace answer $version from /usr/games"

# The installed game, windowed on its own X server, quit with Escape.
bash -euo pipefail -s "$repo" <<'GAME' || die "the installed game did not start and quit"
. "$1/scripts/e2e-lib.sh"
e2e_init /usr/games/drumhold
e2e_start_x 1024x768x24
e2e_start_game --windowed
window=$(e2e_game_window)
e2e_stay_alive 6  # the title takes 5 s; keys count after it
e2e_hold_key Escape 100 "$window"
e2e_wait_exit 5 || e2e_fail "still running 5 s after Escape"
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit status $E2E_EXIT_CODE"
GAME
say "the installed game starts windowed and quits with Esc"

as_root dpkg -r drumhold >"$tmp/dpkg.log" 2>&1 || { cat "$tmp/dpkg.log" >&2; die "dpkg -r failed"; }
installed=0
snapshot >"$tmp/after"
# Another program installing at the same time on a shared machine adds files
# that belong to its own packages; what no package owns is ours.
left=$(comm -13 "$tmp/before" "$tmp/after" | while read -r path; do
    dpkg-query -S "$path" >/dev/null 2>&1 || echo "$path"
done)
[ -z "$left" ] || die "left behind after dpkg -r:"$'\n'"$left"
gone=$(comm -23 "$tmp/before" "$tmp/after")
[ -z "$gone" ] || die "gone after install and removal:"$'\n'"$gone"
while read -r path; do [ ! -e "$path" ] || die "$path is still there after dpkg -r"; done <"$tmp/files"
say "dpkg -r removes every file it installed ($(wc -l <"$tmp/files") files)"

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
tar -xzf "$dist/$name.tar.gz" -C "$tmp"
[ ! -e "$tmp/$name/.git" ] || die "the tarball holds .git"
make -C "$tmp/$name" test JOBS="$jobs" >"$tmp/make-test.log" 2>&1 ||
    { tail -n 80 "$tmp/make-test.log" >&2; die "make test fails in the unpacked source tarball"; }
grep -E '^[0-9]+% tests passed' "$tmp/make-test.log" >&2 || true
say "the source tarball passes make test on its own ($(took "$t"))"
say "all passed in $(took "$start")"
