#!/usr/bin/env bash
# Draws the six default background pictures with ImageMagick: two calm designs, each at
# 640x480, 800x600 and 1024x768. They are installed beside the program as 011.jpg ...
# vorn3.jpg and moved into the picture folders on the first start. Light, low-contrast
# colours keep the board's circles and its Chinese text readable. The results are
# committed; the same ImageMagick gives the same bytes on every run.
set -euo pipefail
out="$(cd "$(dirname "$0")/../resources/programfolder" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each design is drawn small and enlarged, which softens every edge for free.
# "01": a morning wash with a few blurred discs of colour.
convert -size 256x192 gradient:'#e3eefa'-'#fbf2e2' \
  \( -size 256x192 xc:none -fill '#cfe1f5' -draw "circle 200,40 200,85" -fill '#f6ddd2' -draw "circle 40,150 40,195" \
     -fill '#dcebd5' -draw "circle 120,-10 120,30" -blur 0x14 \) -compose over -composite "$work/01.miff"
# "vorn": a pale sky with a low sun over two soft green hills.
convert -size 256x192 gradient:'#e4f0f6'-'#f6f7ec' \
  \( -size 256x192 xc:none -fill '#fff1cf' -draw "circle 60,38 60,70" -blur 0x16 \) -compose over -composite \
  \( -size 256x192 xc:none -fill '#dbe9d3' \
     -draw "path 'M 0,130 C 60,100 120,112 170,122 C 210,130 235,110 256,104 L 256,192 L 0,192 Z'" -blur 0x2 \) \
  -compose over -composite \
  \( -size 256x192 xc:none -fill '#cde2c4' \
     -draw "path 'M 0,160 C 50,140 110,150 160,158 C 200,164 230,150 256,146 L 256,192 L 0,192 Z'" -blur 0x2 \) \
  -compose over -composite "$work/vorn.miff"

# A faint, seeded grain keeps the gradients from banding in JPEG.
index=1
for size in 640x480 800x600 1024x768; do
  convert "$work/01.miff" -filter Lanczos -resize "$size!" -seed 7 -attenuate 0.12 +noise Gaussian \
    -strip -sampling-factor 4:2:0 -quality 88 "$out/01$index.jpg"
  convert "$work/vorn.miff" -filter Lanczos -resize "$size!" -seed 11 -attenuate 0.12 +noise Gaussian \
    -strip -sampling-factor 4:2:0 -quality 88 "$out/vorn$index.jpg"
  index=$((index + 1))
done
