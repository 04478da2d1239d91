#!/usr/bin/env bash
# Makes ready what the Windows cross build needs: the MinGW-w64 compilers, Wine
# to run what they make, and static SDL2, FreeType and googletest. Debian ships
# none of these libraries for MinGW, so they are built here from Debian's own
# source packages, once, into a cache folder named after the versions they
# come from. With that folder in place a run only checks and prints it.
#
# Usage: scripts/windows-deps.sh
#   Prints the libraries' prefix (include/, lib/, lib/pkgconfig/, lib/cmake/)
#   on standard output and nothing else there; progress goes to standard error.
#   The cache root is $DRUMHOLD_WINDOWS_CACHE, by default
#   ${XDG_CACHE_HOME:-$HOME/.cache}/drumhold/windows-deps.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$repo/cmake/mingw-w64-x86_64.cmake
exec 3>&1 1>&2  # standard output is for the prefix alone

say() { echo "windows-deps: $*"; }
die() { echo "windows-deps: error: $*" >&2; exit 1; }
now() { date +%s; }
took() { echo "$(($(now) - $1)) s"; }

packages=(
    g++-mingw-w64-x86-64-posix
    wine wine64
    cmake ninja-build pkg-config dpkg-dev googletest
    xvfb xauth xdotool zip fonts-ocr-a
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        # No password prompt without a terminal to answer it: fail instead of hanging.
        if [ -t 0 ]; then sudo "$@"; else sudo -n "$@"; fi
    else
        die "not root and no sudo; run as root: $*"
    fi
}

export DEBIAN_FRONTEND=noninteractive
updated=0
apt_update() {
    [ "$updated" -eq 1 ] && return 0
    local t; t=$(now)
    as_root apt-get update -qq || die "apt-get update failed"
    updated=1
    say "package lists refreshed in $(took "$t")"
}

# --- source packages: Debian's archive entries again, as deb-src ------------
src_sources=/etc/apt/sources.list.d/drumhold-deb-src.sources
src_list=/etc/apt/sources.list.d/drumhold-deb-src.list

has_deb_src() {
    grep -qsE '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list ||
        grep -qsiE '^Types:.*[[:space:]]deb-src([[:space:]]|$)' /etc/apt/sources.list.d/*.sources
}

enable_deb_src() {
    has_deb_src && return 0
    local t files=() one_line=() stanzas lines
    t=$(now)
    for f in /etc/apt/sources.list.d/*.sources; do [ -f "$f" ] && files+=("$f"); done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do [ -f "$f" ] && one_line+=("$f"); done
    # deb822 stanzas that fetch binaries from a Debian archive, with their type
    # turned to deb-src; URIs, suites, components and keyring stay the same.
    stanzas=$([ ${#files[@]} -eq 0 ] || awk '
        function flush() {
            if (n && deb && debian && enabled) { for (i = 1; i <= n; i++) print kept[i]; print "" }
            n = 0; deb = 0; debian = 0; enabled = 1
        }
        BEGIN { enabled = 1 }
        FNR == 1 { flush() }
        /^[ \t]*$/ { flush(); next }
        /^#/ { next }
        {
            line = $0; key = tolower($1)
            if (key == "types:") { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1; line = "Types: deb-src" }
            else if (key == "uris:" && tolower($0) ~ /debian/) debian = 1
            else if (key == "enabled:" && tolower($2) == "no") enabled = 0
            kept[++n] = line
        }
        END { flush() }' "${files[@]}")
    lines=$([ ${#one_line[@]} -eq 0 ] || awk '$1 == "deb" && tolower($0) ~ /debian/ { $1 = "deb-src"; print }' "${one_line[@]}")
    [ -n "$stanzas$lines" ] || die "found no Debian archive in /etc/apt/sources.list{,.d} to take source packages from"
    local header="# Source packages, for scripts/windows-deps.sh (the Windows libraries' sources)."
    local written=()
    if [ -n "$stanzas" ]; then
        printf '%s\n%s\n' "$header" "$stanzas" | as_root tee "$src_sources" >/dev/null
        written+=("$src_sources")
    fi
    if [ -n "$lines" ]; then
        printf '%s\n%s\n' "$header" "$lines" | as_root tee "$src_list" >/dev/null
        written+=("$src_list")
    fi
    updated=0  # the new entries need a refresh
    say "enabled source packages (${written[*]}) in $(took "$t")"
}

# --- the packages -----------------------------------------------------------
"$repo/scripts/install-deps.sh" "${packages[@]}" || die "installing the packages failed"

# --- which versions, so which cache folder ----------------------------------
# The version of the source package that the candidate of a binary package was
# built from ("Source: name (version)" when it differs from the binary's).
source_version() {
    apt-cache show --no-all-versions "$1" 2>/dev/null | awk '
        /^Version:/ { v = $2 }
        /^Source:/ && $3 ~ /^\(/ { s = $3; gsub(/[()]/, "", s) }
        END { print (s != "" ? s : v) }'
}
sdl_version=$(source_version libsdl2-2.0-0)
ft_version=$(source_version libfreetype6)
if [ -z "$sdl_version" ] || [ -z "$ft_version" ]; then
    apt_update  # a machine whose package lists were cleaned away
    sdl_version=$(source_version libsdl2-2.0-0)
    ft_version=$(source_version libfreetype6)
fi
[ -n "$sdl_version" ] && [ -n "$ft_version" ] || die "apt knows no libsdl2-2.0-0 or libfreetype6 candidate"
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
gcc_version=$(x86_64-w64-mingw32-g++-posix -dumpversion)
# Any change to this recipe or to the toolchain file, comments aside, builds afresh.
recipe=$(sed -e '/^[[:space:]]*#/d' -e '/^[[:space:]]*$/d' "${BASH_SOURCE[0]}" "$toolchain" | sha256sum | cut -c1-8)
key=sdl2-${sdl_version}_freetype-${ft_version}_googletest-${gtest_version}_gcc-${gcc_version}_${recipe}

root=${DRUMHOLD_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/drumhold/windows-deps}
prefix=$root/$key
mkdir -p "$root"
exec 9>"$root/.lock"
flock -w 3600 9 || die "another windows-deps run has held $root/.lock for an hour"

if [ -f "$prefix/.complete" ]; then
    say "ready in $prefix"
    echo "$prefix" >&3
    exit 0
fi

# --- sources ----------------------------------------------------------------
work=$root/$key.work
rm -rf "$prefix" "$work"
mkdir -p "$work" "$prefix"
cd "$work"

enable_deb_src
known=$(apt-cache showsrc --only-source libsdl2 freetype 2>/dev/null || true)
if ! grep -qx "Version: $sdl_version" <<<"$known" || ! grep -qx "Version: $ft_version" <<<"$known"; then
    apt_update
fi
t=$(now)
apt_source=(apt-get source --download-only --only-source -qq)
# As root apt would drop to its _apt user, which may not enter this folder.
[ "$(id -u)" -ne 0 ] || apt_source+=(-o APT::Sandbox::User=root)
"${apt_source[@]}" "libsdl2=$sdl_version" "freetype=$ft_version" >/dev/null ||
    die "apt-get source libsdl2=$sdl_version freetype=$ft_version failed (are deb-src entries enabled?)"
# apt checked the files against the signed archive index; dpkg-source need not
# look for the uploader's key, which the machine does not have.
for src in libsdl2:sdl2 freetype:freetype; do
    dpkg-source --no-check -x "${src%%:*}"_*.dsc "${src#*:}" >>dpkg-source.log 2>&1 ||
        die "unpacking ${src%%:*} failed; see $work/dpkg-source.log"
done
say "sources of libsdl2 $sdl_version and freetype $ft_version fetched in $(took "$t")"

# --- builds -----------------------------------------------------------------
export DRUMHOLD_WINDOWS_DEPS=$prefix
jobs=$(nproc)

# build NAME SOURCE_DIR CMAKE_ARGS...: configure, build and install into the
# prefix, the output in NAME.log, shown in part only when something fails.
build() {
    local name=$1 src=$2 t; shift 2
    t=$(now)
    # Ninja: SDL's configure runs some 300 compile checks, each a small project
    # that Ninja builds in half the time Make takes.
    if ! { cmake -G Ninja -S "$src" -B "$name-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
               -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
               -DBUILD_SHARED_LIBS=OFF "$@" &&
           cmake --build "$name-build" -j "$jobs" &&
           cmake --install "$name-build"; } >"$name.log" 2>&1; then
        tail -n 40 "$name.log" >&2
        die "building $name failed; the whole log is $work/$name.log"
    fi
    say "built $name in $(took "$t")"
}

build sdl2 sdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
# Only what reading TrueType, OpenType and Type 1 outlines needs: no PNG
# bitmaps, HarfBuzz hinting, Brotli (WOFF2) or bzip2 (compressed PCF).
build freetype freetype -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build googletest /usr/src/googletest -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON

# The licences that travel with a program linking them in: SDL's zlib licence,
# FreeType's FTL (its credit clause) and the MinGW-w64 runtime's terms.
mkdir -p "$prefix/share/licenses"
cp sdl2/LICENSE.txt "$prefix/share/licenses/SDL2-LICENSE.txt"
cp freetype/docs/FTL.TXT "$prefix/share/licenses/FreeType-FTL.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$prefix/share/licenses/MinGW-w64-runtime.txt"

printf 'libsdl2 %s\nfreetype %s\ngoogletest %s\ngcc %s\n' \
    "$sdl_version" "$ft_version" "$gtest_version" "$gcc_version" >"$prefix/.complete"
cd "$root"
rm -rf "$work"
say "ready in $prefix ($(du -sh "$prefix" | cut -f1))"
echo "$prefix" >&3
