# Steps that building libraries from Debian's source packages takes: enabling
# the source packages, fetching and unpacking them, and the one recipe of SDL2
# and FreeType. Sourced by scripts/windows-deps.sh and scripts/web-deps.sh,
# with $tag naming the caller; the cache folder is lib.sh's.

. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# --- source packages: Debian's archive entries again, as deb-src ------------
src_sources=/etc/apt/sources.list.d/drumhold-deb-src.sources
src_list=/etc/apt/sources.list.d/drumhold-deb-src.list

has_deb_src() {
    grep -qsE '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list ||
        grep -qsiE '^Types:.*[[:space:]]deb-src([[:space:]]|$)' /etc/apt/sources.list.d/*.sources
}

enable_deb_src() {
    has_deb_src && return 0
    local t stanzas lines
    t=$(now)
    stanzas=$(archive_stanzas deb-src)
    lines=$(archive_lines deb-src)
    [ -n "$stanzas$lines" ] || die "found no Debian archive in /etc/apt/sources.list{,.d} to take source packages from"
    local header="# Source packages, for scripts/$tag.sh (the libraries it builds from source)."
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

# The version of the source package that the candidate of a binary package was
# built from ("Source: name (version)" when it differs from the binary's).
source_version() {
    apt-cache show --no-all-versions "$1" 2>/dev/null | awk '
        /^Version:/ { v = $2 }
        /^Source:/ && $3 ~ /^\(/ { s = $3; gsub(/[()]/, "", s) }
        END { print (s != "" ? s : v) }'
}

# source_versions VAR=PACKAGE...: each VAR set to the source_version of
# PACKAGE; the package lists are refreshed once when one is unknown (a machine
# whose lists were cleaned away).
source_versions() {
    local pair name unknown attempt
    for attempt in 1 2; do
        unknown=()
        for pair; do
            name=${pair%%=*}
            printf -v "$name" '%s' "$(source_version "${pair#*=}")"
            [ -n "${!name}" ] || unknown+=("${pair#*=}")
        done
        [ ${#unknown[@]} -gt 0 ] || return 0
        [ "$attempt" = 2 ] || apt_update
    done
    die "apt knows no candidate of ${unknown[*]}"
}

# download_sources PACKAGE=VERSION...: the source packages' files, into the
# current folder, checked against the signed archive index by apt.
download_sources() {
    local options=(--download-only --only-source -qq)
    # As root apt would drop to its _apt user, which may not enter this folder.
    [ "$(id -u)" -ne 0 ] || options+=(-o APT::Sandbox::User=root)
    apt-get source "${options[@]}" "$@"
}

# fetch_sources PACKAGE=VERSION:FOLDER...: the source packages, checked against
# the signed archive index by apt and unpacked into FOLDER in the current folder.
fetch_sources() {
    local t pin names=() known
    t=$(now)
    enable_deb_src
    for pin in "$@"; do names+=("${pin%%=*}"); done
    known=$(apt-cache showsrc --only-source "${names[@]}" 2>/dev/null || true)
    for pin in "$@"; do
        pin=${pin%%:*}
        grep -qx "Version: ${pin#*=}" <<<"$known" || { apt_update; break; }
    done
    download_sources "${@%%:*}" >/dev/null ||
        die "apt-get source ${*%%:*} failed (are deb-src entries enabled?)"
    # dpkg-source need not look for the uploader's key, which the machine does not have.
    for pin in "$@"; do
        dpkg-source --no-check -x "${pin%%=*}"_*.dsc "${pin#*:}" >>dpkg-source.log 2>&1 ||
            die "unpacking ${pin%%=*} failed; see $PWD/dpkg-source.log"
    done
    say "sources of ${*%%:*} fetched in $(took "$t")"
}

# fetch_upstream_tarball PACKAGE=VERSION FOLDER: only the upstream sources of a
# source package (its .orig tarball, checked against the .dsc that apt checked),
# unpacked into FOLDER; for a package whose Debian changes do not matter here.
fetch_upstream_tarball() {
    local pin=$1 folder=$2 dsc tarball sum
    download_sources "$pin" >/dev/null 2>&1 || true  # the Debian diff may be missing
    dsc=$(ls "${pin%%=*}"_*.dsc 2>/dev/null | head -n 1)
    [ -n "$dsc" ] || die "apt-get source $pin fetched no .dsc"
    tarball=$(awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 }
                   on && $3 ~ /\.orig\.tar\./ { print $3; exit }' "$dsc")
    sum=$(awk -v f="$tarball" '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 }
                   on && $3 == f { print $1; exit }' "$dsc")
    [ -n "$tarball" ] && [ -f "$tarball" ] || die "apt-get source $pin fetched no upstream tarball"
    echo "$sum  $tarball" | sha256sum -c --quiet - || die "$tarball does not match $dsc"
    mkdir -p "$folder"
    tar -xf "$tarball" -C "$folder" --strip-components=1 || die "unpacking $tarball failed"
}

# --- SDL2 and FreeType: the one recipe of every cross build -------------------
# cmake_library NAME SOURCE CMAKE_ARGS...: SOURCE configured for the caller's
# $toolchain (an array of CMake arguments), built, and installed as static
# libraries into the prefix; pkg-config sees only the prefix's .pc files.
# Ninja: SDL's configure runs some 300 compile checks, each a small project
# that Ninja builds in half the time Make takes.
cmake_library() {
    local name=$1 src=$2; shift 2
    PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH= \
    cmake -G Ninja -S "$src" -B "$name-build" "${toolchain[@]}" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" &&
    cmake --build "$name-build" -j "$(nproc)" &&
    cmake --install "$name-build"
}

# build_sdl2_and_freetype: both from the sources that fetch_sources unpacked
# into sdl2/ and freetype/, and the licences that travel with a program linking
# them in: SDL's zlib licence and FreeType's FTL (its credit clause).
build_sdl2_and_freetype() {
    step sdl2 cmake_library sdl2 sdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
    # Only what reading TrueType, OpenType and Type 1 outlines needs: no PNG
    # bitmaps, HarfBuzz hinting, Brotli (WOFF2) or bzip2 (compressed PCF).
    step freetype cmake_library freetype freetype -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
        -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
    mkdir -p "$prefix/share/licenses"
    cp sdl2/LICENSE.txt "$prefix/share/licenses/SDL2-LICENSE.txt"
    cp freetype/docs/FTL.TXT "$prefix/share/licenses/FreeType-FTL.txt"
}
