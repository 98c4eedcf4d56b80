#!/usr/bin/env bash
# A program folder that the user cannot write (a folder of another user, a read-only medium):
# the program keeps its files in a per-user folder, filled on the first start from the files
# installed beside it, and writes nothing into the program folder. Three starts under Xvfb:
# the first start, a second start, and a first start again after the user has made the folder
# their own. Root writes through permissions, so as root the program runs as nobody.
# Usage: run_e2e_installed.sh BUILD_DIR       Exit 77 (skipped) when a tool is missing.
set -uo pipefail

build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
title="Tesmar单词Dorrit"
for tool in Xvfb xdotool import xdpyinfo xxd iconv; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
source "$here/common.sh"

make_work
start_xvfb "$work" 1024x768

prefix="$work/program"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
chmod -R a-w "$prefix"
mkdir -p "$work/home" "$work/run" "$work/shots"
chmod 700 "$work/run"
own_by_user "$work/home" "$work/run" "$work/shots"
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/run"
export WINEPREFIX="$work/no-wine-prefix" LC_ALL=C.UTF-8
user="$XDG_DATA_HOME/$title"
shots="$build_dir/e2e-shots"
mkdir -p "$shots"

start() { # name
  local out
  out=$("${as_user[@]}" bash "$work/start_program.sh" "$prefix/dorrit" "$work/shots/$1")
  local status=$?
  cp "$work/shots/$1"*.png "$shots/" 2>/dev/null
  echo "$out"
  return $status
}
settings_bytes() { xxd -p "$user/Dorrit参数.ini" 2>/dev/null | tr -d '\n'; }
gbk_hex() { printf '%s' "$1" | iconv -f UTF-8 -t GBK | xxd -p | tr -d '\n'; }

program_folder=$(tree_state "$prefix")

first=$(start installed-first) || { echo "$first"; exit 1; }
check "first start: the window" "title=$title" "$(grep '^title=' <<<"$first")"
check "first start: one message" "messages=1" "$(grep '^messages=' <<<"$first")"
check "first start: 退出 ends the program" "exit=0" "$(grep '^exit=' <<<"$first")"
check "first start writes nothing into the program folder" "$program_folder" "$(tree_state "$prefix")"
expected=$(gbk_hex $'"版本",0.1\r\n"是否已检测Tesmar单词Graxo",#TRUE#\r\n"是否与Tesmar单词Graxo共享目录",#FALSE#\r\n"是否朗读",#FALSE#\r\n"桌面","01.jpg"\r\n"桌面是否随机",#TRUE#\r\n')
check "the per-user folder holds the settings file" "$expected" "$(settings_bytes)"
check "the per-user folder holds the library folders with the sample" "yes" \
  "$([[ -f $user/词库/sample.qd && -f $user/联想词库/sample.the ]] && echo yes)"
check "the per-user folder holds the help file" "yes" "$(cmp -s "$prefix/$title.chm" "$user/$title.chm" && echo yes)"
for size in 640x480 800x600 1024x768; do
  check "picture folder $size holds 01.jpg and vorn.jpg" "01.jpg vorn.jpg" \
    "$(cd "$user/Dorrit桌面/$size" 2>/dev/null && ls | sort | tr '\n' ' ' | sed 's/ $//')"
done
check "the default pictures were moved, not left in the per-user folder" "" \
  "$(cd "$user" && ls 011.jpg 012.jpg 013.jpg vorn1.jpg vorn2.jpg vorn3.jpg 2>/dev/null)"

second=$(start installed-second) || { echo "$second"; exit 1; }
check "second start: no message" "messages=0" "$(grep '^messages=' <<<"$second")"
check "second start: settings file unchanged" "$expected" "$(settings_bytes)"
check "second start: the default pictures stay away" "" \
  "$(cd "$user" && ls 011.jpg 012.jpg 013.jpg vorn1.jpg vorn2.jpg vorn3.jpg 2>/dev/null)"
check "second start writes nothing into the program folder" "$program_folder" "$(tree_state "$prefix")"

# The user's own picture and choices, and the first-start decision undone: the first-start
# steps run again, and may not bring the default pictures back over the user's.
own_picture="$user/Dorrit桌面/1024x768/01.jpg"
printf 'my own picture' | "${as_user[@]}" tee "$own_picture" >/dev/null
gbk_hex $'"版本",0.1\r\n"是否已检测Tesmar单词Graxo",#FALSE#\r\n"是否与Tesmar单词Graxo共享目录",#FALSE#\r\n"是否朗读",#FALSE#\r\n"桌面","vorn.jpg"\r\n"桌面是否随机",#FALSE#\r\n' |
  xxd -r -p | "${as_user[@]}" tee "$user/Dorrit参数.ini" >/dev/null
again=$(start installed-again) || { echo "$again"; exit 1; }
check "a first start again: its message" "messages=1" "$(grep '^messages=' <<<"$again")"
check "a first start again: the user's picture survives" "my own picture" "$(cat "$own_picture")"
check "a first start again: the user's choices survive" \
  "$(gbk_hex $'"版本",0.1\r\n"是否已检测Tesmar单词Graxo",#TRUE#\r\n"是否与Tesmar单词Graxo共享目录",#FALSE#\r\n"是否朗读",#FALSE#\r\n"桌面","vorn.jpg"\r\n"桌面是否随机",#FALSE#\r\n')" \
  "$(settings_bytes)"
check "a first start again writes nothing into the program folder" "$program_folder" "$(tree_state "$prefix")"

echo "screenshots in $shots"
exit $fail
