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

# The packages: debian/control's, marked <pkg.drumhold.web>.
"$repo/scripts/install-deps.sh" web || die "installing the packages failed"

# --- which versions, so which cache folder ----------------------------------
source_versions sdl_version=libsdl2-2.0-0 ft_version=libfreetype6 glu_version=libglu1-mesa
em_version=$(dpkg-query -W -f='${Version}' emscripten)
open_cache "${DRUMHOLD_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/drumhold/web-deps}" \
    sdl2="$sdl_version" freetype="$ft_version" glu="$glu_version" emscripten="$em_version" \
    -- "$repo/scripts/source-packages.sh"
mkdir -p "$prefix/src/glu"
fetch_sources "libsdl2=$sdl_version:sdl2" "freetype=$ft_version:freetype"
fetch_upstream_tarball "libglu=$glu_version" glu

# --- builds -----------------------------------------------------------------
# emcmake's default emulator flag (--experimental-wasm-threads) is refused by
# node 20, so the toolchain file is named directly.
toolchain=(-DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
           -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node -DCMAKE_FIND_ROOT_PATH="$prefix")
build_sdl2_and_freetype
# GLU's tessellator and quadrics stay sources: the game's build compiles
# them itself, so that what they draw goes through its display lists.
step glu cp -r glu/src/libtess glu/src/libutil glu/src/include glu/include "$prefix/src/glu/"
sed -n "/SGI FREE SOFTWARE LICENSE/,/^ \*\//p" glu/src/libtess/tess.c >"$prefix/share/licenses/GLU-SGI-FSL-B.txt"

close_cache
