#!/usr/bin/env bash
# One start of the program on the current X display, as a user would: answers each message
# with Enter, waits for the main window, takes a screenshot, ends the program through
# 文件 > 退出. Prints what it saw: title=, size=, messages=, exit=.
# Usage: start_program.sh PROGRAM SHOT_PREFIX [STEPS]  (run by the end-to-end scripts)
# STEPS, when given, is a bash file sourced once the main window is up, before the end; it
# sees $main (the window), $shot and $title.
set -uo pipefail
program=$1 shot=$2 steps=${3:-}
# The start of the window title in ASCII, so that the search works in any locale.
title="^Tesmar"

read -r screen_width _ < <(xdotool getdisplaygeometry)
"$program" 2>"$shot.log" &
pid=$!
messages=0 main=""
for _ in $(seq 1 150); do
  kill -0 $pid 2>/dev/null || { echo "program ended early"; cat "$shot.log"; exit 1; }
  for w in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    # The main window fills the screen; a message box, however scaled, does not.
    if ((WIDTH * 10 >= screen_width * 9)); then
      main=$w
    else
      messages=$((messages + 1))
      import -window root "$shot-message.png"
      xdotool windowfocus "$w" 2>/dev/null
      xdotool key Return
      sleep 0.5
    fi
  done
  [[ -n $main ]] && break
  sleep 0.2
done
[[ -n $main ]] || { echo "no main window"; kill $pid; exit 1; }
sleep 1
import -window root "$shot.png"
echo "title=$(xdotool getwindowname "$main")"
eval "$(xdotool getwindowgeometry --shell "$main")"
echo "size=${WIDTH}x${HEIGHT}"
echo "messages=$messages"
[[ -n $steps ]] && source "$steps"
# 文件 > 退出: the open menu holds the keyboard, and Up wraps to its last item. The menu's
# title lies within the first 40 x 18 pixels at any scale.
xdotool mousemove 20 9 click 1
sleep 0.5
xdotool key Up
sleep 0.2
xdotool key Return
for _ in $(seq 1 25); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.2
done
if kill -0 $pid 2>/dev/null; then
  echo "still running after 退出"
  kill $pid
  exit 1
fi
wait $pid
echo "exit=$?"
