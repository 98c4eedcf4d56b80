#!/usr/bin/env bash
# Draws the program's icon: a ring of eight circles around a centre circle, as on the board
# (one ring word in focus, red), the centre in the words' purple with a white "D". Writes the
# SVG and renders the PNG sizes the desktop's menus use with rsvg-convert (librsvg2-bin). The
# results are committed; the same librsvg writes the same bytes on every run.
set -euo pipefail
out="$(cd "$(dirname "$0")/../resources/icons" && pwd)"
svg="$out/tesmar-dorrit.svg"

ring=""
for k in 0 1 2 3 4 5 6 7; do
  # Centres 88 units from the middle, every 45 degrees from the top, clockwise.
  read -r x y < <(awk -v k="$k" 'BEGIN { a = k * atan2(1, 1); printf "%.1f %.1f\n", 128 + 88 * sin(a), 128 - 88 * cos(a) }')
  colour='#2f5fd0'; [[ $k == 0 ]] && colour='#e23b3b'
  ring+="  <circle cx=\"$x\" cy=\"$y\" r=\"21\" fill=\"#ffffff\" stroke=\"$colour\" stroke-width=\"10\"/>"$'\n'
done

cat >"$svg" <<SVG
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="face" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#eaf2fb"/>
      <stop offset="1" stop-color="#fbf5e6"/>
    </linearGradient>
  </defs>
  <circle cx="128" cy="128" r="122" fill="url(#face)" stroke="#c9b3e6" stroke-width="4"/>
$ring  <circle cx="128" cy="128" r="46" fill="#a338dc"/>
  <path d="M111 104 h13 a24 24 0 0 1 0 48 h-13 z" fill="none" stroke="#ffffff" stroke-width="11" stroke-linejoin="round"/>
</svg>
SVG

for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$out/tesmar-dorrit-$size.png"
done
# The Windows executable's and installer's icon: the same pictures in one .ico (ImageMagick).
convert "$out"/tesmar-dorrit-{16,32,48,256}.png "$out/tesmar-dorrit.ico"
