#!/usr/bin/env bash
# Starts the installed program in a fresh program folder under Xvfb, as a user would,
# and checks what appears: the first-start message, the window, the settings file.
# Usage: run_e2e.sh BUILD_DIR        Exit 77 (skipped) when no X server can be had.
set -uo pipefail

build_dir=$1
title="Tesmar单词Dorrit"
for tool in Xvfb xdotool import xdpyinfo xxd iconv; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/common.sh"
work=$(mktemp -d)
cleanup() {
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

# One X server of our own for both starts.
start_xvfb "$work" 1024x768
prefix="$work/program"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
# No shipped library for the first start: the program must start with only its default
# pictures, no settings and no libraries; the sample comes back before the second start.
mkdir -p "$work/shipped"
mv "$prefix/词库" "$prefix/联想词库" "$work/shipped/"
export HOME="$work/home" WINEPREFIX="$work/no-wine-prefix" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# A desktop session has a UTF-8 locale. Under plain C (a bare machine sets no LANG) Qt writes
# the legacy WM_NAME as raw bytes, which xdotool's --name search cannot match.
export LC_ALL=C.UTF-8
shots="$build_dir/e2e-shots"
mkdir -p "$shots"

# What a start does with the window up, as a user would; LIBRARY and CHOOSE say which.
cat > "$work/steps.sh" <<'STEPS'
if [[ -n $LIBRARY ]]; then
  # 文件 > 选择词库, then the file's name typed into the dialog.
  xdotool mousemove 22 10 click 1; sleep 0.5
  xdotool key Down; sleep 0.2; xdotool key Return; sleep 1.5
  xdotool type --delay 30 "$LIBRARY"; xdotool key Return; sleep 1.5
  import -window root "$shot-library.png"
  echo "loaded=$(xdotool getwindowname "$main")"
fi
if [[ -n $CHOOSE ]]; then
  # 文件 > 选项; untick 随机, tick 朗读单词 on 运行, press its 确定.
  xdotool mousemove 22 10 click 1; sleep 0.5
  xdotool key Down Down; sleep 0.2; xdotool key Return; sleep 1.5
  dialog=$(xdotool search --onlyvisible --name "选项$" 2>/dev/null | head -1)
  echo "options=${dialog:+shown}"
  if [[ -n $dialog ]]; then
    import -window root "$shot-options.png"
    xdotool mousemove --window "$dialog" 215 49 click 1; sleep 0.3
    xdotool mousemove --window "$dialog" 144 21 click 1; sleep 0.3
    xdotool mousemove --window "$dialog" 74 57 click 1; sleep 0.3
    import -window root "$shot-options-run.png"
    xdotool mousemove --window "$dialog" 140 228 click 1; sleep 0.5
    echo "options-after-ok=$(xdotool search --onlyvisible --name "选项$" 2>/dev/null | head -1)"
  fi
fi
STEPS

session() {
  LIBRARY=${2:-} CHOOSE=${3:-} bash "$(dirname "$0")/start_program.sh" "$prefix/dorrit" "$shots/$1" "$work/steps.sh" \
    2>"$work/$1.err"
}

first=$(session first-start) || { echo "$first"; cat "$work/first-start.err"; exit 1; }
echo "$first"
check "window title" "title=$title" "$(grep '^title=' <<<"$first")"
check "the window fills the screen without a window manager" "size=1024x768" "$(grep '^size=' <<<"$first")"
check "first start shows one message" "messages=1" "$(grep '^messages=' <<<"$first")"
check "退出 ends the program cleanly" "exit=0" "$(grep '^exit=' <<<"$first")"

settings="$prefix/Dorrit参数.ini"
expected=$(printf '"版本",0.1\r\n"是否已检测Tesmar单词Graxo",#TRUE#\r\n"是否与Tesmar单词Graxo共享目录",#FALSE#\r\n"是否朗读",#FALSE#\r\n"桌面","01.jpg"\r\n"桌面是否随机",#TRUE#\r\n' | iconv -f UTF-8 -t GBK | xxd -p | tr -d "\n")
[[ -n $expected ]] || { echo "FAIL: cannot encode the expected settings file"; exit 1; }
check "settings file bytes after the first start" "$expected" "$(xxd -p "$settings" 2>/dev/null | tr -d "\n")"
check "library folders made beside the program" "yes" "$([[ -d $prefix/词库 && -d $prefix/联想词库 ]] && echo yes)"
check "the default pictures left the program folder" "" "$(cd "$prefix" && ls 011.jpg 012.jpg 013.jpg vorn1.jpg vorn2.jpg vorn3.jpg 2>/dev/null)"
for size in 640x480 800x600 1024x768; do
  check "picture folder $size holds 01.jpg and vorn.jpg" "01.jpg vorn.jpg" \
    "$(cd "$prefix/Dorrit桌面/$size" 2>/dev/null && ls | sort | tr '\n' ' ' | sed 's/ $//')"
done

cp -r "$work/shipped/." "$prefix/"
second=$(session second-start sample.qd) || { echo "$second"; cat "$work/second-start.err"; exit 1; }
check "second start shows no message" "messages=0" "$(grep '^messages=' <<<"$second")"
check "the sample library opens from the menu" "loaded=$title        词库：sample" "$(grep '^loaded=' <<<"$second")"
check "settings file unchanged by the second start" "$expected" "$(xxd -p "$settings" 2>/dev/null | tr -d "\n")"

# The options dialog keeps the user's choices in the settings file.
third=$(session third-start "" options) || { echo "$third"; cat "$work/third-start.err"; exit 1; }
check "文件 > 选项 opens the options dialog" "options=shown" "$(grep '^options=' <<<"$third")"
check "确定 closes it" "options-after-ok=" "$(grep '^options-after-ok=' <<<"$third")"
chosen=$(tail -n 2 "$settings" | head -n 1 | iconv -f GBK -t UTF-8 | tr -d '\r')
check "record 5 names a picture of the folder" "yes" "$([[ $chosen == '"桌面","01.jpg"' || $chosen == '"桌面","vorn.jpg"' ]] && echo yes)"
options_expected=$(printf '"版本",0.1\r\n"是否已检测Tesmar单词Graxo",#TRUE#\r\n"是否与Tesmar单词Graxo共享目录",#FALSE#\r\n"是否朗读",#TRUE#\r\n%s\r\n"桌面是否随机",#FALSE#\r\n' "$chosen" | iconv -f UTF-8 -t GBK | xxd -p | tr -d "\n")
check "settings file after 确定" "$options_expected" "$(xxd -p "$settings" 2>/dev/null | tr -d "\n")"

echo "screenshots in $shots"
exit $fail
