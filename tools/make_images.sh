#!/usr/bin/env bash
# Draws the window's built-in background and the three button pictures with ImageMagick.
# The results are committed; rerun after changing a colour or size here.
set -euo pipefail
cd "$(dirname "$0")/../resources/images"

# A soft vertical wash; the window continues it beyond the picture's 800 x 600.
convert -size 800x600 gradient:'#eaf2fb'-'#fbf5e6' -quality 90 background.jpg

# "Go": a green rounded plate with a white arrow.
convert -size 37x29 xc:none -fill '#3f9f5f' -stroke '#2f7a48' -draw "roundrectangle 1,1 35,27 6,6" \
  -fill white -stroke none -draw "polygon 10,10 21,10 21,5 30,14 21,23 21,18 10,18" -define png:exclude-chunks=date,time go.png

# Paging arrows: blue chevrons pointing left and right.
convert -size 21x29 xc:none -fill '#3b6fb6' -stroke '#2a5590' -draw "polygon 16,3 4,14 16,25 16,19 11,14 16,9" -define png:exclude-chunks=date,time previous.png
convert -size 21x29 xc:none -fill '#3b6fb6' -stroke '#2a5590' -draw "polygon 5,3 17,14 5,25 5,19 10,14 5,9" -define png:exclude-chunks=date,time next.png
