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

tag=windows-deps
. "$repo/scripts/source-packages.sh"

packages=(
    g++-mingw-w64-x86-64-posix
    wine wine64
    cmake ninja-build pkg-config dpkg-dev googletest
    xvfb xauth xdotool zip fonts-ocr-a
)

# --- the packages -----------------------------------------------------------
"$repo/scripts/install-deps.sh" "${packages[@]}" || die "installing the packages failed"

# --- which versions, so which cache folder ----------------------------------
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

open_cache "${DRUMHOLD_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/drumhold/windows-deps}" "$key"
fetch_sources "libsdl2=$sdl_version:sdl2" "freetype=$ft_version:freetype"

# --- builds -----------------------------------------------------------------
export DRUMHOLD_WINDOWS_DEPS=$prefix
jobs=$(nproc)

# build NAME SOURCE_DIR CMAKE_ARGS...: configure, build and install into the
# prefix. Ninja: SDL's configure runs some 300 compile checks, each a small
# project that Ninja builds in half the time Make takes.
configure_and_install() {
    local name=$1 src=$2; shift 2
    cmake -G Ninja -S "$src" -B "$name-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" &&
    cmake --build "$name-build" -j "$jobs" &&
    cmake --install "$name-build"
}
build() { step "$1" configure_and_install "$@"; }

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

close_cache "$(printf 'libsdl2 %s\nfreetype %s\ngoogletest %s\ngcc %s' \
    "$sdl_version" "$ft_version" "$gtest_version" "$gcc_version")"
