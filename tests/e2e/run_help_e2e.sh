#!/usr/bin/env bash
# The help, the About box and the author card of the installed program under Xvfb, reached
# as a user reaches them: 帮助 > 帮助主题, 帮助 > 关于..., a double-click on the product name.
# Screenshots go to BUILD_DIR/e2e-shots/help-*.png.
# Usage: run_help_e2e.sh BUILD_DIR        Exit 77 (skipped) when no X server can be had.
set -uo pipefail

build_dir=$1
for tool in Xvfb xdotool import xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/common.sh"
work=$(mktemp -d)
pid=""
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work" 1024x768

prefix="$work/program"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
# The window title is searched for in Chinese: that needs a UTF-8 locale, which a bare
# system does not set.
export HOME="$work/home" WINEPREFIX="$work/no-wine-prefix" XDG_RUNTIME_DIR="$work/run" LC_ALL=C.UTF-8
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
shots="$build_dir/e2e-shots"
mkdir -p "$shots"

fail=0
check() { # what, condition result (yes or anything else)
  if [[ $2 == yes ]]; then echo "ok: $1"; else echo "FAIL: $1"; fail=1; fi
}
# The first window whose name matches, within a few seconds; empty when none appears.
window() {
  for _ in $(seq 1 50); do
    local w
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [[ -n $w ]] && { echo "$w"; return; }
    sleep 0.2
  done
}
gone() {
  for _ in $(seq 1 25); do
    [[ -z $(xdotool search --onlyvisible --name "$1" 2>/dev/null) ]] && { echo yes; return; }
    sleep 0.2
  done
}
helpItem() { # 1: 帮助主题, 2: 关于...
  xdotool mousemove 60 10 click 1; sleep 0.5
  for _ in $(seq 1 "$1"); do xdotool key Down; sleep 0.2; done
  xdotool key Return
}

"$prefix/dorrit" 2>"$work/program.err" &
pid=$!
# The first start's message, then the window.
main=""
for _ in $(seq 1 150); do
  for w in $(xdotool search --onlyvisible --name "^Tesmar单词Dorrit$" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if ((WIDTH >= 600)); then main=$w; else xdotool windowfocus "$w" 2>/dev/null; xdotool key Return; sleep 0.5; fi
  done
  [[ -n $main ]] && break
  sleep 0.2
done
[[ -n $main ]] || { echo "FAIL: no main window"; exit 1; }
sleep 1

helpItem 1
viewer=$(window "^Tesmar单词Dorrit 帮助$")
check "帮助主题 opens the help viewer" "$([[ -n $viewer ]] && echo yes)"
sleep 1
import -window root "$shots/help-viewer.png"
# Back, as a user would after following the first link of the contents.
if [[ -n $viewer ]]; then
  eval "$(xdotool getwindowgeometry --shell "$viewer")"
  xdotool mousemove $((X + 90)) $((Y + 88)) click 1; sleep 1
  import -window root "$shots/help-topic.png"
  xdotool windowunmap "$viewer"
fi

helpItem 2
about=$(window "^关于 Tesmar单词Dorrit$")
check "关于... opens the About box" "$([[ -n $about ]] && echo yes)"
sleep 0.5
import -window root "$shots/help-about.png"
if [[ -n $about ]]; then
  eval "$(xdotool getwindowgeometry --shell "$about")"
  # The product name lies at (32, 9), 261 x 29.
  xdotool mousemove $((X + 100)) $((Y + 22)) click 1; sleep 0.8
  check "a single click on the product name opens nothing" "$([[ -z $(xdotool search --onlyvisible --name '^我$') ]] && echo yes)"
  xdotool click --repeat 2 --delay 80 1
  card=$(window "^我$")
  check "a double-click on the product name opens the author card" "$([[ -n $card ]] && echo yes)"
  sleep 0.5
  import -window root "$shots/help-card.png"
  if [[ -n $card ]]; then
    eval "$(xdotool getwindowgeometry --shell "$card")"
    xdotool mousemove $((X + 330)) $((Y + 260)) click 1; sleep 0.8   # 我的基本情况
    import -window root "$shots/help-card-introduction.png"
    xdotool mousemove $((X + 432)) $((Y + 260)) click 1              # 再见
    check "再见 closes the card" "$(gone '^我$')"
  fi
  xdotool windowfocus "$about" 2>/dev/null; xdotool key Escape
  check "Esc closes the About box" "$(gone '^关于 Tesmar单词Dorrit$')"
fi
kill -0 "$pid" 2>/dev/null
check "the program is still running" "$([[ $? -eq 0 ]] && echo yes)"
echo "screenshots in $shots"
exit $fail
