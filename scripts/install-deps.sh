#!/usr/bin/env bash
# Installs, only if missing, the Debian packages that building and running
# DRUMHOLD need, and with --tests also those its tests need. Safe to run again:
# it does nothing when all are present.
# Usage: scripts/install-deps.sh [--tests | PACKAGE...]   (packages given: those
# instead; scripts/windows-deps.sh installs the cross build's this way)
set -euo pipefail
. "$(dirname "$0")/lib.sh"

# Building and playing: compiler and tools, SDL2, Mesa's GL, FreeType,
# fontconfig and the OCR-A font the game draws its text with.
packages=(
    cmake g++ make pkg-config
    libsdl2-dev libglu1-mesa-dev libgl1-mesa-dri
    libfreetype-dev libfontconfig-dev fonts-ocr-a
)
# The tests: googletest, offscreen GL, a second font, a private X server and
# what drives and photographs it, a fake clock, the desktop-file checkers.
test_packages=(
    libegl1 libegl-mesa0 fonts-dejavu-core
    libgtest-dev libgmock-dev
    xvfb xauth xfonts-base xdotool imagemagick x11-utils x11-xserver-utils libfaketime
    appstream desktop-file-utils python3
)
if [ "${1:-}" = --tests ]; then
    packages+=("${test_packages[@]}")
elif [ $# -gt 0 ]; then
    packages=("$@")
fi

missing=()
for p in "${packages[@]}"; do
    # One query, no pipe: under pipefail a reader that stops early could make
    # an installed package look missing.
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" != "install ok installed" ]; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

say "installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A fresh machine has no package lists yet; refresh them once before installing.
as_root apt-get update -qq
as_root apt-get install -y --no-install-recommends "${missing[@]}"
