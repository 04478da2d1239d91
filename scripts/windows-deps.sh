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
toolchain_file=$repo/cmake/mingw-w64-x86_64.cmake
exec 3>&1 1>&2  # standard output is for the prefix alone

tag=windows-deps
. "$repo/scripts/source-packages.sh"

# --- the packages (debian/control's, marked <pkg.drumhold.windows>) ---------
"$repo/scripts/install-deps.sh" windows || die "installing the packages failed"

# --- which versions, so which cache folder ----------------------------------
source_versions sdl_version=libsdl2-2.0-0 ft_version=libfreetype6
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
gcc_version=$(x86_64-w64-mingw32-g++-posix -dumpversion)
open_cache "${DRUMHOLD_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/drumhold/windows-deps}" \
    sdl2="$sdl_version" freetype="$ft_version" googletest="$gtest_version" gcc="$gcc_version" \
    -- "$repo/scripts/source-packages.sh" "$toolchain_file"
fetch_sources "libsdl2=$sdl_version:sdl2" "freetype=$ft_version:freetype"

# --- builds -----------------------------------------------------------------
export DRUMHOLD_WINDOWS_DEPS=$prefix
toolchain=(-DCMAKE_TOOLCHAIN_FILE="$toolchain_file")
build_sdl2_and_freetype
step googletest cmake_library googletest /usr/src/googletest -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
# The MinGW-w64 runtime's terms travel with the program too.
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$prefix/share/licenses/MinGW-w64-runtime.txt"

close_cache
