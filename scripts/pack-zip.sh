#!/usr/bin/env bash
# Packs one folder into a zip the same way every time, so that a release built
# twice gives the same bytes: names in one order, no directory entries, no
# owners or access times, plain permissions, and with SOURCE_DATE_EPOCH set,
# every file dated then (zip's dates are local time: TZ is UTC here).
# Usage: scripts/pack-zip.sh ZIP PARENT FOLDER   (FOLDER inside PARENT; its
# files get the dates and permissions first)
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 ZIP PARENT FOLDER" >&2; exit 2; }
zip=$(realpath -m "$1") parent=$2 folder=$3
. "$(dirname "$0")/lib.sh"
command -v zip >/dev/null || die "zip is not installed"
cd "$parent"
[ -d "$folder" ] || die "no folder $parent/$folder"
chmod -R u=rwX,go=rX "$folder"
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    find "$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
fi
rm -f "$zip"
find "$folder" -type f -print | LC_ALL=C sort | TZ=UTC zip -X -D -q -9 "$zip" -@
