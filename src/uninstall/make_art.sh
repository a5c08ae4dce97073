#!/usr/bin/env bash
# Draws the survey picture (150 x 100 GIF) and the wrapper's icon.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
convert -size 150x100 gradient:'#fdf0d5-#f3c98b' \
  -fill '#c00000' -draw 'circle 75,50 75,12' -fill '#fdf0d5' -draw 'circle 75,50 75,24' \
  -fill '#c00000' -draw 'circle 75,50 75,36' -stroke '#3a3a3a' -strokewidth 3 \
  -draw 'line 130,10 80,47' -fill '#3a3a3a' -draw 'polygon 130,10 138,6 134,16' \
  "$here/survey.gif"
tmp=$(mktemp -d)
for s in 16 32 48; do
  convert -size ${s}x${s} xc:'#fdf0d5' -fill '#c00000' -draw "circle $((s/2)),$((s/2)) $((s/2)),1" \
    -fill '#fdf0d5' -draw "circle $((s/2)),$((s/2)) $((s/2)),$((s/4))" "$tmp/i$s.png"
done
convert "$tmp/i16.png" "$tmp/i32.png" "$tmp/i48.png" "$here/qmunins.ico"
rm -rf "$tmp"
