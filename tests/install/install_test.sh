#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR the way `make install DESTDIR=...`
# does, and checks that everything a desktop expects of a game landed, in place.
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

DESTDIR="$dest" cmake --install "$build" --prefix /usr/local >/dev/null

fail() { echo "install: $*" >&2; exit 1; }
root=$dest/usr/local
[ -x "$root/bin/drumhold" ] || fail "no executable bin/drumhold"
[ -x "$root/bin/drumhold-trace" ] || fail "no executable bin/drumhold-trace"
desktop=$root/share/applications/drumhold.desktop
[ -f "$desktop" ] || fail "no desktop entry"
grep -qx 'Categories=Game;ActionGame;' "$desktop" || fail "desktop entry lacks Categories=Game;ActionGame;"
grep -qx 'Exec=drumhold' "$desktop" || fail "desktop entry does not start drumhold"
grep -qx 'Icon=drumhold' "$desktop" || fail "desktop entry names no icon"
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] ||
    fail "desktop-file-validate complains about the desktop entry:"$'\n'"$out"
metainfo=$root/share/metainfo/io.github.drumhold.drumhold.metainfo.xml
[ -f "$metainfo" ] || fail "no AppStream metainfo"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) ||
    fail "appstreamcli finds errors or warnings in the metainfo:"$'\n'"$out"
grep -q '<launchable type="desktop-id">drumhold.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch the installed desktop entry drumhold.desktop"
small=$root/share/icons/hicolor/32x32/apps/drumhold.png
large=$root/share/icons/hicolor/256x256/apps/drumhold.png
[ -f "$small" ] && [ -f "$large" ] || fail "icons missing"
identify -format '%w %h %k\n' "$small" | awk '$1 != 32 || $2 != 32 || $3 > 16 { exit 1 }' \
    || fail "the small icon is not 32x32 with at most 16 colours"
identify -format '%w %h\n' "$large" | awk '$1 != 256 || $2 != 256 { exit 1 }' \
    || fail "the large icon is not 256x256"
man=$root/share/man/man6/drumhold.6
[ -f "$man" ] || fail "no manual page"
grep -q 'SIGUSR1' "$man" || fail "the manual page does not name the display switch signal"
[ -f "$root/share/man/man6/drumhold-trace.6" ] || fail "no manual page for drumhold-trace"
# Nothing may be installed outside the prefix.
outside=$(find "$dest" -type f ! -path "$root/*")
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
echo "install: ok"
