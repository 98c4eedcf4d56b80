#!/usr/bin/env bash
# Sets everything up, builds, and starts the program from its program folder (build/dist/)
# with the bundled sample library. Without a display it runs under Xvfb and saves a screenshot.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
program="$root/build/dist/dorrit"

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$program"
fi

shot="$root/build/screenshot.png"
echo "No display: starting the program under Xvfb, opening the sample library, looking up a word, taking a screenshot."
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  "$1" & pid=$!
  sleep 3
  # A first start shows one message first; answer it.
  for w in $(xdotool search --onlyvisible --name "^Tesmar单词Dorrit" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if (( WIDTH < 600 )); then xdotool windowfocus "$w" 2>/dev/null; xdotool key Return; sleep 1.5; fi
  done
  # 文件 > 选择词库 > sample.qd, as a user would.
  xdotool mousemove 22 10 click 1; sleep 0.5; xdotool key Down; sleep 0.2; xdotool key Return; sleep 1.5
  xdotool type --delay 30 sample.qd; xdotool key Return; sleep 1.5
  # Look up a word and rest the pointer on one of its ring words.
  xdotool mousemove 100 44 click 1; sleep 0.3; xdotool type --delay 30 travel; xdotool key Return; sleep 0.8
  xdotool mousemove 693 230; sleep 0.8
  import -window root "$2"
  kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
' _ "$program" "$shot" 2>/dev/null
echo "Screenshot saved to $shot"
