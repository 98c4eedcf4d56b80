#!/usr/bin/env bash
# The board on scaled screens. The program starts under Xvfb on a screen scaled by
# QT_SCALE_FACTOR or by the X resources' Xft.dpi, as desktops do, and the screenshot is read
# pixel by pixel: the layout must be the one for the screen's height in device-independent
# pixels (the device height alone would choose the large layout every time), each circle must
# lie where that layout puts it, relative to the centre circle and to the window's left edge,
# and at 200 % the circles must be drawn at the screen's resolution, not blown up.
# Usage: run_e2e_hidpi.sh BUILD_DIR       Exit 77 (skipped) when a tool is missing.
set -uo pipefail

build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xrdb xdotool import convert identify od xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

source "$here/common.sh"

make_work

prefix="$work/program"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
# The built-in background: a plain wash, so that only the circles are red or blue.
rm -f "$prefix"/*.jpg
export WINEPREFIX="$work/no-wine-prefix" LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
shots="$build_dir/e2e-shots"
mkdir -p "$shots"

# Slot centres and circle size of the two layouts a scaled screen can get here.
layout2="160 400,94 558,151 650,290 558,429 400,486 242,429 150,290 242,151 400,290"
layout3="190 512,135 693,205 789,374 693,543 512,613 331,543 235,374 331,205 512,374"

# name, screen size in device pixels, Xft.dpi ("" for none), QT_SCALE_FACTOR ("" for none),
# the scale that results, the layout it must choose
scenario() {
  local name=$1 screen=$2 dpi=$3 factor=$4 scale=$5 layout=$6
  echo "== $name"
  # -noreset: the X resources must outlive the xrdb client that sets them.
  start_xvfb "$work" "$screen" -noreset
  [[ -n $dpi ]] && echo "Xft.dpi: $dpi" | xrdb -nocpp -merge
  rm -rf "$work/home" && mkdir -p "$work/home"
  local out
  out=$(env HOME="$work/home" ${factor:+QT_SCALE_FACTOR=$factor} bash "$work/start_program.sh" "$prefix/dorrit" "$work/$name")
  stop_xvfb
  cp "$work/$name.png" "$shots/hidpi-$name.png" 2>/dev/null
  grep -q '^title=' <<<"$out" || { echo "FAIL: $name: no window"; echo "$out"; fail=1; return; }

  local w
  w=$(identify -format '%w' "$work/$name.png")
  # Every strongly red or blue pixel (the circles' borders), then the circles measured.
  convert "$work/$name.png" -depth 8 rgb:- | od -An -v -tu1 -w3 |
    awk -v W="$w" -v s="$scale" -v layout="${!layout}" -v name="$name" -f "$here/hidpi_circles.awk"
  (($? == 0)) || fail=1
}

scenario factor200 1600x1200 "" 2 2 layout2
scenario xft150 1200x900 144 "" 1.5 layout2
scenario xft200 2048x1536 192 "" 2 layout3

echo "screenshots in $shots"
exit $fail
