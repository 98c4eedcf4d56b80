#!/usr/bin/env bash
# Start-up of the Windows program under Wine on Xvfb (with a window manager, as a desktop has):
# from launching dorrit.exe to its first painted frame, against the start-up baseline built for
# Windows (bench_startup_baseline.exe: a maximized window with a Chinese menu bar, the same JPEG
# drawn to its size, nine circles, a Chinese label), launched the same way. Each pair launches
# the baseline and then the program; medians of PAIRS pairs (default 15), reading aloud off and
# on. Both report their first frame on standard output. One Wine server stays up for the run,
# as on Windows the system's services are running before a program starts.
# Usage: bench/bench_startup_wine.sh [PAIRS]     (after scripts/build-windows.sh)
root=$(cd "$(dirname "$0")/.." && pwd)
WINDOWS_BUILD=$root/build-windows source "$root/tests/win/wine.sh"
pairs=${1:-15}
start_display
make_prefix
"$wineserver" -p
folder() { # NAME READ_ALOUD: a program folder after its first start, with the picture to show
  local dir="$work/$1"
  cp -r "$windows_build/dist" "$dir"
  mkdir -p "$dir/Dorrit桌面/1024x768" && mv "$dir/013.jpg" "$dir/Dorrit桌面/1024x768/01.jpg"
  printf '"版本",0.1\r\n"是否已检测Tesmar单词Graxo",#TRUE#\r\n"是否与Tesmar单词Graxo共享目录",#FALSE#\r\n"是否朗读",%s\r\n"桌面","01.jpg"\r\n"桌面是否随机",#FALSE#\r\n' "$2" |
    iconv -f UTF-8 -t GBK >"$dir/Dorrit参数.ini"
  echo "$dir"
}
off=$(folder off '#FALSE#') on=$(folder on '#TRUE#')
baseline="$windows_build/bench/bench_startup_baseline.exe"
# The baseline's Qt libraries and plugins are the program's, from its folder.
export WINEPATH="$(winpath "$off")" WINEQT_PLUGIN_PATH="$(winpath "$off")" DORRIT_REPORT_FIRST_FRAME=1
python3 - "$pairs" "$wine" "$baseline" "$off" "$on" <<'EOF'
import os, select, statistics, subprocess, sys, time
pairs, wine, baseline, off, on = int(sys.argv[1]), *sys.argv[2:]
env = dict(os.environ, LC_ALL="zh_CN.UTF-8")

def launch(folder, program):  # seconds from launch to the first frame's line; then it is ended
    start = time.monotonic()
    child = subprocess.Popen([wine, program], cwd=folder, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    ready = select.select([child.stdout], [], [], 60)[0]
    line = child.stdout.readline() if ready else b""
    took = time.monotonic() - start
    child.kill()
    child.wait()
    if b"first frame" not in line:
        sys.exit(f"{program}: no first frame")
    return took

for folder in (off, on):  # the first launch of each loads Wine's and Qt's libraries from disk
    launch(folder, baseline), launch(folder, "dorrit.exe")
for name, folder in (("reading aloud off", off), ("reading aloud on", on)):
    base, ours = [], []
    for _ in range(pairs):
        base.append(launch(folder, baseline))
        ours.append(launch(folder, "dorrit.exe"))
    ratio = statistics.median(o / b for o, b in zip(ours, base))
    print(f"dorrit.exe under Wine, {name}: median {statistics.median(ours) * 1000:.0f} ms, baseline "
          f"{statistics.median(base) * 1000:.0f} ms, vs_baseline {ratio:.2f} ({pairs} pairs)")
EOF
