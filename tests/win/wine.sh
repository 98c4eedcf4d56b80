# Sourced by the Windows scripts: Wine in a throwaway prefix ($work/prefix) whose ANSI code page
# is 936, as on a Chinese Windows. Wine is installed by the setup, so one that cannot start fails;
# a Windows build that build-windows.sh has not made yet is skipped (77).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
die() { echo "FAIL: $*"; exit 1; }
windows_build=${WINDOWS_BUILD:?}
[[ -f $windows_build/dist/dorrit.exe ]] || { echo "SKIP: no Windows build: run scripts/build-windows.sh"; exit 77; }
windows_build=$(cd "$windows_build" && pwd)
PATH=$PATH:/usr/lib/wine # where Debian keeps wine64 and wineserver
wine=$(command -v wine64) || die "wine64 not found"
wineserver=$(command -v wineserver) || die "wineserver not found"
work=$(mktemp -d "${TMPDIR:-/tmp}/dorrit-wine.XXXXXX")
chmod 755 "$work"
wine_cleanup() {
  stop_display
  "${as_user[@]}" "$wineserver" -k >/dev/null 2>&1
  rm -rf "$work"
}
trap wine_cleanup EXIT
# No Gecko or Mono: Wine would offer to download them. Wine keeps the host's QT_ variables from
# Windows programs and hands them WINEQT_ ones as QT_: the log (and Qt Test's report) on
# standard error rather than the debugger's output.
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEQT_FORCE_STDERR_LOGGING=1
# Wine takes the ANSI code page from the locale (zh_CN: 936), which a bare system has not
# generated: it is compiled into the work folder (localedef's exit 1 only reports warnings).
export LOCPATH="$work/locale"
mkdir -p "$LOCPATH" && localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >"$work/localedef.log" 2>&1
[[ "$(LC_ALL=zh_CN.UTF-8 locale charmap)" == UTF-8 ]] || { tail -3 "$work/localedef.log"; die "no zh_CN.UTF-8 locale"; }
# Root writes through permissions: to meet a folder it cannot write, Wine runs as nobody in the
# scripts that call as_other_user (before make_prefix).
as_user=()
as_other_user() {
  ((!$(id -u))) || return 0
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  chown nobody:nogroup "$work"
  export USER=nobody HOME="$work/home" # Wine names the user's profile after $USER
  "${as_user[@]}" mkdir -p "$HOME"
}
inwine() { timeout 300 "${as_user[@]}" env LC_ALL=zh_CN.UTF-8 "$wine" "$@"; } # the locale for Wine only, not this shell
make_prefix() { # no menu entries for the desktop either
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" timeout 180 "${as_user[@]}" env LC_ALL=zh_CN.UTF-8 \
    "$wine" wineboot -i >"$work/wineboot.log" 2>&1 ||
    { tail -5 "$work/wineboot.log"; die "wine cannot start here"; }
  drive_c="$WINEPREFIX/drive_c" profile="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}"
}
reg() { inwine reg "$@" /f >/dev/null || die "wine reg $*"; }
winpath() { echo "Z:${1//\//\\}"; } # a Linux path as the program sees it

# start_display: an X screen of 1024 x 768 with a window manager, as on a desktop (Wine asks it
# to maximize the window and to frame message boxes).
start_display() {
  for tool in Xvfb openbox xdotool import convert; do command -v $tool >/dev/null || die "$tool not found"; done
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  wait_for 10 test -s "$work/display" || die "Xvfb did not start"
  export DISPLAY=":$(cat "$work/display")"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  openbox_pid=$!
}
stop_display() { kill ${program_pid:-} ${openbox_pid:-} 2>/dev/null; kill ${xvfb_pid:-} 2>/dev/null; }
title="Tesmar单词Dorrit"
windows_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
main_window() { # the program's main window (its message boxes have the same title)
  windows_named "^$title" | while read -r w; do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    ((WIDTH > 800)) && echo "$w"
  done | head -1
}
# Whether the program still runs; a launcher that hands it on (the shell's start) ends at once,
# and then the program is the newest process of that name.
running() { kill -0 "$program_pid" 2>/dev/null || { program_pid=$(pgrep -n -f 'dorrit\.exe$') && [[ -n $program_pid ]]; }; }
# start_program LOG COMMAND...: starts the program; answers (Return) each message shown before
# its main window ($main), counting them in $messages, with a screenshot of each ($LOG-message.png).
start_program() {
  local log=$1 box end=$((SECONDS + 60))
  shift
  "$@" >"$log.log" 2>&1 &
  program_pid=$! messages=0 main=""
  while ((SECONDS < end)) && running && [[ -z $main ]]; do
    box=$(windows_named "^$title\$" | head -1)
    if [[ -n $box ]] && [[ -z $(main_window) ]]; then
      messages=$((messages + 1))
      import -window root "$log-message.png"
      xdotool windowactivate --sync "$box" key Return 2>/dev/null
      wait_for 10 eval '! windows_named "^$title\$" | grep -qx "$box"'
    fi
    sleep 0.2
    main=$(main_window)
  done
  [[ -n $main ]] || { cat "$log.log"; die "$(basename "$log"): no main window"; }
  xdotool windowactivate --sync "$main" 2>/dev/null
  xdotool mousemove 1023 767 # off the board, so that no slot is in focus
}
origin() { # X and Y: where the main window's inside begins on the screen (below its frame)
  eval "$(xwininfo -id "$main" | sed -n 's/^ *Absolute upper-left \([XY]\): *\(-*[0-9]*\)$/\1=\2/p')"
}
press() { xdotool windowactivate --sync "$main" 2>/dev/null; xdotool key "$@"; } # keys to the main window
typed() { xdotool windowactivate --sync "$main" 2>/dev/null; xdotool type --delay 40 "$1"; }
shown() { xdotool search --onlyvisible --class '' 2>/dev/null | wc -l; }
menu() { # MENU ITEM: a menu (0 文件, 1 生词本, 2 帮助) opened by a click on its title, the item by its row
  origin
  local before i
  before=$(shown)
  xdotool windowactivate --sync "$main" 2>/dev/null
  for i in 1 2 3; do # a click the window was not yet ready for opens nothing: again
    xdotool mousemove $((X + 20 + 46 * $1)) $((Y + 10)) click 1
    wait_for 3 eval '(($(shown) > before))' && break
  done
  for ((i = 0; i < $2; i++)); do xdotool key Down; done
  xdotool key Return
}
quit_program() { # NAME: 文件 > 退出 ends the program at once
  menu 0 3
  wait_for 5 eval '! running' || import -window root "$work/$1-not-ended.png"
  check "$1: 退出 ends the program" "ended" "$(running && echo running || echo ended)"
  wait "$program_pid" 2>/dev/null
  program_pid=""
}
