#!/usr/bin/env bash
# Draws the program icon (a framed landscape with a sun) at 16, 32 and 48
# pixels with ImageMagick and packs the three into Tessaly.ico.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
for s in 16 32 48; do
  convert -size ${s}x${s} xc:'#2b4c7e' \
    -fill '#f4c542' -draw "circle $((s*3/4)),$((s/4)) $((s*3/4)),$((s/8+1))" \
    -fill '#3f7d3a' -draw "polygon 0,$s $((s/3)),$((s/2)) $((s*2/3)),$s" \
    -fill '#5fa052' -draw "polygon $((s/3)),$s $((s*2/3)),$((s*2/5)) $s,$s" \
    -stroke '#d9b26f' -strokewidth $((s/16+1)) -fill none -draw "rectangle 0,0 $((s-1)),$((s-1))" \
    "$tmp/i$s.png"
done
convert "$tmp/i16.png" "$tmp/i32.png" "$tmp/i48.png" "$here/Tessaly.ico"
rm -rf "$tmp"
