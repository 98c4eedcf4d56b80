# Sourced by the end-to-end scripts. Each starts one X server (Xvfb) with a private session bus,
# on which e2e.py drives the program's accessibility tree by the names the window shows.
set -uo pipefail
e2e=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
title="Tesmar单词Dorrit"
source "$e2e/../checks.sh"
need() { for tool; do command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }; done; }
need Xvfb xdotool import convert dbus-daemon xxd iconv
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }
# Root writes through permissions: to meet a folder it cannot write, the program runs as nobody
# (with its session bus and e2e.py) in the scripts that call run_as_other_user.
as_user=()
run_as_other_user() { (($(id -u))) || { need setpriv; as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups); }; }
ui() { "${as_user[@]}" /usr/bin/python3 "$work/e2e.py" "$@"; }

# begin BUILD_DIR: a scratch folder $work, removed at exit with all that was started, a fresh
# home, the program installed at $prefix, $shots for logs and screenshots (kept in BUILD_DIR).
begin() {
  build_dir=$(cd "$1" && pwd) work=$(mktemp -d)
  prefix="$work/program" shots="$work/shots"
  trap cleanup EXIT
  chmod 755 "$work"
  cp "$e2e/e2e.py" "$work/" # the other user may not read where the sources lie
  mkdir -p "$shots" "$work/home" "$work/bus" "$build_dir/e2e-shots" && mkdir -m 700 "$work/run"
  unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME AT_SPI_BUS_ADDRESS
  # As on a desktop: a UTF-8 locale, which a bare machine does not set.
  export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" WINEPREFIX="$work/no-wine" LC_ALL=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  cmake --install "$build_dir" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
}
cleanup() {
  kill ${program_pid:-} 2>/dev/null
  declare -F cleanup_more >/dev/null && cleanup_more
  stop_display
  cp "$shots"/*.png "$build_dir/e2e-shots/" 2>/dev/null
  chmod -R u+w "$work" && rm -rf "$work"
}

# start_display SCREEN: an X server on a free display, and the session bus. -noreset: else the
# server resets when its last client leaves, and the next program finds no display.
start_display() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  wait_for 10 test -s "$work/display" || { echo "SKIP: Xvfb did not start"; cat "$work/xvfb.log"; exit 77; }
  export DISPLAY=":$(cat "$work/display")" DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus/socket"
  ((${#as_user[@]} == 0)) || chown -R nobody:nogroup "$work/bus" "$work/run" "$work/home" "$shots"
  "${as_user[@]}" dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >"$work/bus.log" 2>&1 &
  bus_pid=$!
  wait_for 10 test -S "$work/bus/socket" || { echo "FAIL: no session bus"; cat "$work/bus.log"; exit 1; }
}
stop_display() {
  for pid in ${bus_pid:-} ${xvfb_pid:-}; do kill "$pid" && wait "$pid"; done 2>/dev/null
  bus_pid="" xvfb_pid="" && rm -f "$work/display"
}

# start_program PROGRAM SHOT: starts it as a user would, answering each message; once the main
# window shows, `seen messages|title|size` tells what was seen. SHOT.log: its log.
start_program() {
  "${as_user[@]}" "$1" 2>"$2.log" &
  program_pid=$!
  started=$(ui startup "$2") || { echo "FAIL: no main window"; cat "$2.log"; exit 1; }
}
seen() { sed -n "s/^$1=//p" <<<"$started"; }
quit_program() { # [NAME]: 文件 > 退出, and the program must end cleanly
  local status="still running"
  ui do "frame:$title*" 文件 退出 && wait_for 10 eval '! kill -0 $program_pid 2>/dev/null' && { wait "$program_pid"; status=$?; program_pid=""; }
  check "${1:+$1: }退出 ends the program" 0 "$status"
}
open_library() { # FILE: 文件 > 选择词库, the file named in the dialog; prints the title after
  ui do "frame:$title*" 文件 选择词库
  ui set "$1" 选择词库 "text:File name:"
  ui do 选择词库 "push button:Open"
  ui title "frame:$title*词库*"
}
screenshot() { import -window root "$1"; } # FILE: for people to look at

check_pictures() { # FOLDER: the default pictures moved into their screen-size folders, none left
  check "the default pictures moved into $(basename "$1")/Dorrit桌面" "$(printf '%s\n' Dorrit桌面/{1024x768,640x480,800x600}/{01,vorn}.jpg)" \
    "$(cd "$1" && ls -d Dorrit桌面/*/* *.jpg 2>/dev/null)"
}
