#!/usr/bin/env bash
# The board on screens scaled by QT_SCALE_FACTOR or by the X resources' Xft.dpi, as desktops do,
# read from a screenshot: the layout for the screen's height in device-independent pixels (the
# device height alone would choose the large one every time), each circle where it puts it,
# and at 200 % circles drawn at the screen's resolution, not blown up.
# Usage: run_e2e_hidpi.sh BUILD_DIR       Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
need xrdb
begin "$1"
rm -f "$prefix"/*.jpg # the built-in background, a plain wash: only the circles are red or blue
# Circle size and slot centres of the two layouts a scaled screen can get here.
layout2="160 400,94 558,151 650,290 558,429 400,486 242,429 150,290 242,151 400,290"
layout3="190 512,135 693,205 789,374 693,543 512,613 331,543 235,374 331,205 512,374"
# scenario NAME SCREEN XFT_DPI QT_SCALE_FACTOR SCALE LAYOUT: the screen in device pixels, its
# Xft.dpi and QT_SCALE_FACTOR ("" for none), the scale that results, the layout it must choose.
scenario() {
  echo "== $1"
  start_display "$2"
  [[ -z $3 ]] || echo "Xft.dpi: $3" | xrdb -nocpp -merge
  rm -rf "$HOME" && mkdir "$HOME"
  QT_SCALE_FACTOR=$4 start_program "$prefix/dorrit" "$shots/hidpi-$1"
  # The screen once it has stopped changing: two shots alike.
  local last="" now
  for _ in {1..30}; do
    import -window root "$shots/hidpi-$1.png" && now=$(convert "$shots/hidpi-$1.png" rgb:- | md5sum)
    [[ $now == "$last" ]] && break || last=$now
  done
  quit_program "$1"
  stop_display
  convert "$shots/hidpi-$1.png" -depth 8 ppm:- | ui circles "$1" "$5" "${!6}" || fail=1
}
scenario factor200 1600x1200 "" 2 2 layout2
scenario xft150 1200x900 144 "" 1.5 layout2
scenario xft200 2048x1536 192 "" 2 layout3
exit $fail
