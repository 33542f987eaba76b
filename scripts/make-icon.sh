#!/usr/bin/env bash
# Draws the program icon, res/Tavimero.ico: a prompt window in front of a command list, drawn
# for 16, 32 and 48 pixels on a 16 × 16 grid, each grid cell a whole number of pixels so that
# every size stays sharp. The icon is kept in the repository; run this after changing the
# drawing (needs ImageMagick's convert).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/res/Tavimero.ico}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# draw SIZE FILE: one image of SIZE × SIZE pixels.
draw() {
    local size=$1 file=$2 s=$(($1 / 16))
    local args=()
    # cell X0 Y0 X1 Y1 COLOUR: fills the grid cells X0..X1 × Y0..Y1 (inclusive).
    cell() {
        args+=(-fill "$5" -draw "rectangle $(($1 * s)),$(($2 * s)) $((($3 + 1) * s - 1)),$((($4 + 1) * s - 1))")
    }
    # The command list: a sheet with a frame and lines of text, the second one chosen.
    cell 5 0 15 12 '#4a5568'
    cell 6 1 14 11 '#ffffff'
    cell 7 2 13 2 '#7a8aa0'
    cell 6 4 14 4 '#3b82f6'
    cell 11 7 13 7 '#7a8aa0'
    cell 11 9 12 9 '#7a8aa0'
    # The prompt window in front: a frame, a blue title bar, a black body with "> _".
    cell 0 5 10 15 '#1e293b'
    cell 1 6 9 7 '#2f6fd0'
    cell 8 6 8 6 '#dbeafe'
    cell 1 8 9 14 '#0b0f14'
    cell 2 9 2 9 '#86efac'
    cell 3 10 3 10 '#86efac'
    cell 2 11 2 11 '#86efac'
    cell 5 12 7 12 '#e5e7eb'
    convert -size "${size}x${size}" xc:none "${args[@]}" "PNG32:$file"
}

for size in 16 32 48; do
    draw "$size" "$work/icon$size.png"
done
convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" "$out"
echo "Icon written to $out"
