#!/usr/bin/env bash
# Draws the game's icons from the tank outline: green lines on black.
# Usage: packaging/make-icons.sh [OUTDIR [WEBDIR]]   (needs ImageMagick's convert)
# Writes drumhold-32.png (32x32, 16-colour palette), drumhold-256.png and
# drumhold.ico, the Windows program's icon holding both, into OUTDIR (packaging),
# and the installable page's icon-192.png and icon-512.png into WEBDIR (web).
set -euo pipefail
out=${1:-packaging}
web=${2:-web}
mkdir -p "$out" "$web"

# The tank outline's five loops (field units, nose toward +y).
loops=(
  "0.866025,-0.75 -0.866025,-0.75 0,1.5"
  "-1.2,-1.25 -0.8,-1.25 -0.8,0.25 -1.2,0.25"
  "1.2,-1.25 0.8,-1.25 0.8,0.25 1.2,0.25"
  "-0.672,0.450625 -0.448,0.450625 -0.448,1.33187 -0.672,1.33187"
  "0.672,0.450625 0.448,0.450625 0.448,1.33187 0.672,1.33187"
)

# polygons SIZE STROKE: one -draw argument per loop, scaled to the square.
draw_args() {
  local size=$1 scale cx cy
  scale=$(awk -v s="$size" 'BEGIN { print s * 0.34 }')
  cx=$(awk -v s="$size" 'BEGIN { print s / 2 - 0.5 }')
  cy=$(awk -v s="$size" -v k="$scale" 'BEGIN { print s / 2 - 0.5 + 0.125 * k }')
  for loop in "${loops[@]}"; do
    local pts=""
    for p in $loop; do
      pts+=$(awk -v p="$p" -v k="$scale" -v cx="$cx" -v cy="$cy" \
        'BEGIN { split(p, v, ","); printf "%.2f,%.2f ", cx + v[1] * k, cy - v[2] * k }')
    done
    printf -- '-draw\0polygon %s\0' "$pts"
  done
}

mapfile -d '' small < <(draw_args 32)
convert -size 32x32 xc:black +antialias -fill none -stroke '#00ff00' -strokewidth 1 \
  "${small[@]}" -colors 16 PNG8:"$out/drumhold-32.png"

# large SIZE FILE: antialiased, the stroke in proportion (5 pixels at 256).
large() {
  local args
  mapfile -d '' args < <(draw_args "$1")
  convert -size "$1x$1" xc:black -fill none -stroke '#00ff00' -strokewidth "$(awk -v s="$1" 'BEGIN { print s * 5 / 256 }')" \
    "${args[@]}" -strip "$2"
}
large 256 "$out/drumhold-256.png"
large 192 "$web/icon-192.png"
large 512 "$web/icon-512.png"

convert "$out/drumhold-32.png" "$out/drumhold-256.png" "$out/drumhold.ico"
