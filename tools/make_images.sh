#!/usr/bin/env bash
# Draws the window's built-in background, the three button pictures, the About box's two
# pictures and the help file's picture of the board with ImageMagick. The results are
# committed; rerun after changing a colour or size here. Needs fonts-wqy-microhei and
# fonts-dejavu-core.
set -euo pipefail
cd "$(dirname "$0")/../resources/images"
cjk=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
latin=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# A soft vertical wash; the window continues it beyond the picture's 800 x 600.
convert -size 800x600 gradient:'#eaf2fb'-'#fbf5e6' -quality 90 background.jpg

# The button pictures at their own size and, for screens scaled to 150 % or more, drawn again at
# twice the size as "name@2x.png", which Qt's icons pick up by themselves. The shapes are given
# in the small picture's pixels; the transform maps pixel centres onto pixel centres.
for scale in 1 2; do
  suffix=""; ((scale > 1)) && suffix="@$scale"x
  at="affine $scale,0,0,$scale,$(awk -v s="$scale" 'BEGIN { t = (s - 1) / 2; print t "," t }')"
  size() { echo "$(($1 * scale))x$(($2 * scale))"; }

  # "Go": a green rounded plate with a white arrow.
  convert -size "$(size 37 29)" xc:none -fill '#3f9f5f' -stroke '#2f7a48' -draw "$at roundrectangle 1,1 35,27 6,6" \
    -fill white -stroke none -draw "$at polygon 10,10 21,10 21,5 30,14 21,23 21,18 10,18" \
    -define png:exclude-chunks=date,time "go$suffix.png"

  # Paging arrows: blue chevrons pointing left and right.
  convert -size "$(size 21 29)" xc:none -fill '#3b6fb6' -stroke '#2a5590' -draw "$at polygon 16,3 4,14 16,25 16,19 11,14 16,9" \
    -define png:exclude-chunks=date,time "previous$suffix.png"
  convert -size "$(size 21 29)" xc:none -fill '#3b6fb6' -stroke '#2a5590' -draw "$at polygon 5,3 17,14 5,25 5,19 10,14 5,9" \
    -define png:exclude-chunks=date,time "next$suffix.png"
done

# The About box and the author card: the name, faint and diagonal, over white.
# Rows of the name on a larger canvas, turned as a whole and cut to size, so the lettering
# runs diagonally without gaps at the edges.
args=()
for ((row = 0; row < 22; row++)); do
  for ((col = 0; col < 7; col++)); do
    args+=(-annotate "+$(( col * 190 + (row % 2) * 95 ))+$(( row * 40 + 20 ))" "Tesmar单词Dorrit")
  done
done
convert -size 1200x880 xc:white -font "$cjk" -pointsize 17 -fill '#e6e6e6' "${args[@]}" \
  -background white -rotate -24 -gravity center -crop 675x310+0+0 +repage -quality 90 about_background.jpg

chars=(T e s m a r 单 词 D o r r i t)
colours=('#d62828' '#f77f00' '#e9b10a' '#2a9d3f' '#1d7fc4' '#6a4c93' '#c2185b' '#00897b' '#d62828' '#f77f00' '#e9b10a' '#2a9d3f' '#1d7fc4' '#6a4c93')
# The product name, each character in its own colour.
parts_dir=$(mktemp -d)
trap 'rm -rf "$parts_dir"' EXIT
parts=()
for i in "${!chars[@]}"; do
  c=${chars[$i]}
  font=$latin; [[ $c == 单 || $c == 词 ]] && font=$cjk
  convert -background none -fill "${colours[$i]}" -stroke '#00000033' -strokewidth 0.5 -font "$font" -pointsize 23 label:"$c" "$parts_dir/$i.png"
  parts+=("$parts_dir/$i.png")
done
convert -background none "${parts[@]}" -gravity south +append -trim +repage -gravity center -background none -resize '261x29>' -extent 261x29 -depth 8 -define png:exclude-chunks=date,time product_name.png

# The help file's picture of the board, with numbered call-outs that the text explains.
w=460; h=340; cx=250; cy=185; r=118; cr=27
draw=()
words=(bright shine glow dark heavy lamp sun day)
for i in 0 1 2 3 4 5 6 7; do
  read -r x y < <(awk -v i=$i -v cx=$cx -v cy=$cy -v r=$r 'BEGIN{a=(i*45-90)*3.14159265/180; printf "%d %d\n", cx+r*cos(a), cy+r*sin(a)*0.82}')
  stroke='#3060c0'; fill='white'
  (( i == 2 )) && stroke='#d02020'
  draw+=(-stroke "$stroke" -strokewidth 2 -fill "$fill" -draw "circle $x,$y $((x+cr)),$y")
  draw+=(-stroke none -fill '#203060' -pointsize 12 -annotate "+$((x-20))+$((y+4))" "${words[$i]}")
done
convert -size ${w}x${h} xc:'#f4f7fb' -font "$cjk" \
  -stroke '#3060c0' -strokewidth 3 -fill white -draw "circle $cx,$cy $((cx+38)),$cy" \
  "${draw[@]}" \
  -stroke none -fill '#102040' -pointsize 15 -annotate "+$((cx-17))+$((cy-6))" "light" \
  -fill '#fffbe0' -stroke '#b0a060' -strokewidth 1 -draw "rectangle $((cx-52)),$((cy+6)) $((cx+52)),$((cy+30))" \
  -stroke none -fill '#403000' -pointsize 11 -annotate "+$((cx-48))+$((cy+23))" "n.光；灯 adj.轻的" \
  -fill '#fffbe0' -stroke '#b0a060' -draw "rectangle 318,206 418,224" -stroke none -fill "#403000" -annotate "+323+220" "v.发光；n.光辉" \
  -fill '#e0e0e0' -stroke '#808080' -draw "roundrectangle 8,8 48,32 3,3" -stroke none -fill black -pointsize 12 -annotate "+16+25" "随机" \
  -fill white -stroke '#808080' -draw "rectangle 54,10 160,30" -stroke none -fill black -annotate "+58+25" "light" \
  -fill '#3f9f5f' -stroke '#2f7a48' -draw "roundrectangle 166,8 204,32 4,4" -stroke none -fill white -annotate "+176+25" "GO" \
  -fill '#102040' -pointsize 13 -annotate "+20+55" "3" \
  -fill '#e0e0e0' -stroke '#808080' -draw "roundrectangle 40,42 80,60 3,3" -stroke none -fill black -pointsize 12 -annotate "+47+56" "后退" \
  -fill '#3b6fb6' -stroke none -draw "polygon 30,300 42,290 42,310" -draw "polygon 438,300 426,290 426,310" \
  -fill '#c03030' -pointsize 13 \
  -annotate "+6+78" "①计数" -annotate "+215+50" "②输入单词" \
  -annotate "+372+246" "③指针停留" \
  -annotate "+190+235" "④中心单词和词义" -annotate "+46+305" "⑤上一屏" -annotate "+360+305" "下一屏" \
  -depth 8 -define png:exclude-chunks=date,time ../help/images/board.png
