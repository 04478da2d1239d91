#!/usr/bin/env bash
# Makes ready what the browser build needs: Debian's emscripten and node, and
# SDL2, FreeType and GLU's tessellator and quadrics built for emscripten.
# emscripten's own "ports" would download these from elsewhere; here they are
# built from Debian's source packages instead, once, into a cache folder named
# after the versions they come from and the recipe below. With that folder in
# place a run only checks and prints it.
#
# Usage: scripts/web-deps.sh
#   Prints the libraries' prefix (include/, lib/, lib/cmake/, src/glu/) on
#   standard output and nothing else there; progress goes to standard error.
#   The cache root is $DRUMHOLD_WEB_CACHE, by default
#   ${XDG_CACHE_HOME:-$HOME/.cache}/drumhold/web-deps.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
exec 3>&1 1>&2  # standard output is for the prefix alone
tag=web-deps
. "$repo/scripts/source-packages.sh"

packages=(
    emscripten nodejs cmake ninja-build pkg-config dpkg-dev
    fonts-ocr-a chromium chromium-driver python3-selenium python3-pil
)
"$repo/scripts/install-deps.sh" "${packages[@]}" || die "installing the packages failed"

# --- the recipe: everything that shapes the libraries -----------------------
# emcmake's default emulator flag (--experimental-wasm-threads) is refused by
# node 20, so the toolchain file is named directly; pkg-config sees only the
# prefix, never the host's .pc files.
recipe_build() {  # NAME SOURCE_DIR CMAKE_ARGS...
    local name=$1 src=$2; shift 2
    PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH= \
    cmake -G Ninja -S "$src" -B "$name-build" \
        -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_FIND_ROOT_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" &&
    cmake --build "$name-build" -j "$jobs" &&
    cmake --install "$name-build"
}
recipe() {
    step sdl2 recipe_build sdl2 sdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
    # Only what reading TrueType, OpenType and Type 1 outlines needs.
    step freetype recipe_build freetype freetype -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
        -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
    # GLU's tessellator and quadrics stay sources: the game's build compiles
    # them itself, so that what they draw goes through its display lists.
    step glu cp -r glu/src/libtess glu/src/libutil glu/src/include glu/include "$prefix/src/glu/"
}

sdl_version=$(source_version libsdl2-2.0-0)
ft_version=$(source_version libfreetype6)
glu_version=$(source_version libglu1-mesa)
if [ -z "$sdl_version" ] || [ -z "$ft_version" ] || [ -z "$glu_version" ]; then
    apt_update  # a machine whose package lists were cleaned away
    sdl_version=$(source_version libsdl2-2.0-0)
    ft_version=$(source_version libfreetype6)
    glu_version=$(source_version libglu1-mesa)
fi
[ -n "$sdl_version" ] && [ -n "$ft_version" ] && [ -n "$glu_version" ] ||
    die "apt knows no libsdl2-2.0-0, libfreetype6 or libglu1-mesa candidate"
em_version=$(dpkg-query -W -f='${Version}' emscripten)
recipe_hash=$(declare -f recipe recipe_build | sha256sum | cut -c1-8)
key=sdl2-${sdl_version}_freetype-${ft_version}_glu-${glu_version}_emscripten-${em_version}_${recipe_hash}

open_cache "${DRUMHOLD_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/drumhold/web-deps}" "$key"
mkdir -p "$prefix/src/glu"
fetch_sources "libsdl2=$sdl_version:sdl2" "freetype=$ft_version:freetype"
fetch_upstream_tarball "libglu=$glu_version" glu

jobs=$(nproc)
recipe

mkdir -p "$prefix/share/licenses"
cp sdl2/LICENSE.txt "$prefix/share/licenses/SDL2-LICENSE.txt"
cp freetype/docs/FTL.TXT "$prefix/share/licenses/FreeType-FTL.txt"
sed -n "/SGI FREE SOFTWARE LICENSE/,/^ \*\//p" glu/src/libtess/tess.c >"$prefix/share/licenses/GLU-SGI-FSL-B.txt"

close_cache "$(printf 'libsdl2 %s\nfreetype %s\nlibglu %s\nemscripten %s\n' \
    "$sdl_version" "$ft_version" "$glu_version" "$em_version")"
