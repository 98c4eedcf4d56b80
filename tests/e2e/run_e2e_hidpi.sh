#!/usr/bin/env bash
# The board on scaled screens. The program starts under Xvfb on a screen scaled by
# QT_SCALE_FACTOR or by the X resources' Xft.dpi, as desktops do, and the screenshot is read
# pixel by pixel: the layout must be the one for the screen's height in device-independent
# pixels (the device height alone would choose the large layout every time), each circle must
# lie where that layout puts it, relative to the centre circle and to the window's left edge,
# and at 200 % the circles must be drawn at the screen's resolution, not blown up.
# Usage: run_e2e_hidpi.sh BUILD_DIR       Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
need xrdb
begin "$1"
install_program
# The built-in background: a plain wash, so that only the circles are red or blue.
rm -f "$prefix"/*.jpg

# Slot centres and circle size of the two layouts a scaled screen can get here.
layout2="160 400,94 558,151 650,290 558,429 400,486 242,429 150,290 242,151 400,290"
layout3="190 512,135 693,205 789,374 693,543 512,613 331,543 235,374 331,205 512,374"

# name, screen size in device pixels, Xft.dpi ("" for none), QT_SCALE_FACTOR ("" for none),
# the scale that results, the layout it must choose
scenario() {
  local name=$1 dpi=$3 scale=$5 layout=$6
  echo "== $name"
  start_display "$2"
  [[ -n $dpi ]] && echo "Xft.dpi: $dpi" | xrdb -nocpp -merge
  rm -rf "$HOME" && mkdir -p "$HOME"
  QT_SCALE_FACTOR=$4 start_program "$prefix/dorrit" "$shots/hidpi-$name"
  screenshot "$shots/hidpi-$name.png"
  quit_program "$name"
  stop_display
  convert "$shots/hidpi-$name.png" -depth 8 ppm:- |
    /usr/bin/python3 "$e2e/measure.py" circles "$name" "$scale" "${!layout}" || fail=1
}

scenario factor200 1600x1200 "" 2 2 layout2
scenario xft150 1200x900 144 "" 1.5 layout2
scenario xft200 2048x1536 192 "" 2 layout3
exit $fail
