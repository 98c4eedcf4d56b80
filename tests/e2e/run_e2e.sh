#!/usr/bin/env bash
# The installed program started as a user would. First from a folder the user cannot write: its
# files go to a per-user folder filled on the first start, nothing into the program folder; a
# second start, and a first start again once the user has undone the first. Then writable and
# fresh: a word list made into a library on the command line, the first start, and a second
# that opens the sample library from the menu, takes a dropped list and library, keeps two
# words in the wordbook, sees them marked, browses and exports it, and opens the help, the About
# box and the author card. What a library holds, the help's pages and the About box's texts are
# the unit suites'.
# Usage: run_e2e.sh BUILD_DIR        Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || { echo "SKIP: python3-xlib is not installed"; exit 77; }
run_as_other_user
begin "$1"
start_display 1024x768
settings="$prefix/Dorrit参数.ini" main="frame:$title*" user="$HOME/.local/share/$title"
expected=$(settings_hex '#TRUE#' '#FALSE#' '#FALSE#' 01.jpg '#TRUE#')
yes_if() { "$@" >/dev/null && echo yes; }

chmod -R a-w "$prefix"
program_folder=$(tree_state "$prefix")
start() { # NAME MESSAGES: one start in the read-only folder, its messages and its end
  start_program "$prefix/dorrit" "$shots/installed-$1"
  check "read-only folder, $1 start: messages shown" "$2" "$(seen messages)"
  quit_program "read-only folder, $1 start"
  check "read-only folder, $1 start writes nothing into it" "$program_folder" "$(tree_state "$prefix")"
}
start first 1
check "the per-user folder holds the settings file" "$expected" "$(file_hex "$user/Dorrit参数.ini")"
check "the per-user folder holds the sample library and the help file" "yes" "$([[ -f $user/词库/sample.qd &&
  -f $user/联想词库/sample.the ]] && cmp -s "$prefix/$title.chm" "$user/$title.chm" && echo yes)"
check_pictures "$user"
start second 0
# The user's own choices, and the first-start decision undone: the first-start steps run again.
settings_hex '#FALSE#' '#FALSE#' '#FALSE#' vorn.jpg '#FALSE#' | xxd -r -p | "${as_user[@]}" tee "$user/Dorrit参数.ini" >/dev/null
start again 1
check "read-only folder, a first start again keeps the user's choices" "$(settings_hex '#TRUE#' '#FALSE#' '#FALSE#' vorn.jpg '#FALSE#')" \
  "$(file_hex "$user/Dorrit参数.ini")"

# Writable, with no shipped library: only the default pictures, no settings.
chmod -R u+w "$prefix" && { ((${#as_user[@]} == 0)) || chown -R nobody:nogroup "$prefix"; }
mkdir "$work/shipped" && mv "$prefix/词库" "$prefix/联想词库" "$work/shipped/"
# The command line: the portable folder is its own data folder, with no library folders yet.
make=("${as_user[@]}" "$prefix/dorrit-make-library" "$work/单元1.txt" 单元1)
printf '\xef\xbb\xbfabandon\r\nhappy,adj.快乐的\r\nqzxv\r\n' >"$work/单元1.txt"
out=$("${make[@]}")
check "made on a clean data folder" "0" "$?"
check "report" "写入 3 个单词，2 个有释义（词表自带 1 个，词典查到 1 个）。" "$(sed -n 's/^词库《单元1》已做好：//p' <<<"$out")"
check "word file" '"happy","adj.快乐的"' "$(iconv -f GBK -t UTF-8 "$prefix/词库/单元1.qd" | sed -n 3p | tr -d '\r')"
before=$(tree_state "$prefix")
out=$("${make[@]}" 2>&1)
check "an existing library is kept, the user told why" "1 $before 加 --force 覆盖它。" "$? $(tree_state "$prefix") $(tail -1 <<<"$out")"
"${make[@]}" --force >/dev/null
check "--force replaces it" "0" "$?"

start_program "$prefix/dorrit" "$shots/first-start"
# Without a window manager the window fills the screen.
check "first start: title, size, messages shown" "$title 1024x768 1" "$(seen title) $(seen size) $(seen messages)"
screenshot "$shots/first-start.png"
quit_program
check "settings file bytes after the first start" "$expected" "$(file_hex "$settings")"
check_pictures "$prefix"

cp -r "$work/shipped/." "$prefix/"
start_program "$prefix/dorrit" "$shots/second-start"
check "second start shows no message" 0 "$(seen messages)"
check "the sample library opens from the menu" "$title        词库：sample" "$(open_library sample.qd)"
# A list dropped, its question and report answered; then a word file dropped.
printf 'abandon\nforsake\ndesert\n' >"$work/单元2.csv"
drop() { ui drop "$(xdotool search --onlyvisible --name "^$title" | head -1)" 512 384 "$1"; }
drop "$work/单元2.csv"
check "the question names the library and its words" "yes" "$(yes_if ui title "alert:*" "label:*单元2*3 个单词*")"
ui do "alert:*" "push button:Yes"
check "the report follows" "yes" "$(yes_if ui title "alert:*" "label:*单元2*")"
screenshot "$shots/wordlist-report.png"
ui do "alert:*" "push button:OK"
check "the new library opens" "$title        词库：单元2" "$(ui title "frame:$title*单元2")"
# Browsed: a word of it looked up shows its ring, the list's own words among it.
xdotool mousemove $(ui where "frame:$title*" "text:") click 1 key ctrl+a type abandon && xdotool key Return
check "a word of it looked up, its ring from the list" "yes" "$(yes_if ui title "frame:$title*" "label:forsake")"
# The wordbook: the centre word kept with Ctrl+B, a ring word in focus from its menu; each
# marked with a star beside its circle; opened as a library and turned in; exported.
layout="190 512,135 693,205 789,374 693,543 512,613 331,543 235,374 331,205 512,374"
marks() { # EXPECTED X Y...: each point's word marked or not, how many are; polled for EXPECTED
  local want=$1 got && shift
  for _ in {1..20}; do got=$(import -window root -depth 8 ppm:- | ui marked "$layout" "$@") && [[ $got == "$want" ]] && break; sleep 0.5; done
  echo "$got"; }
centre=$(ui where "$main" "label:abandon") ring=$(ui where "$main" "label:forsake")
check "no word marked before one is kept" "0 0 0" "$(marks "0 0 0" $centre $ring)"
xdotool mousemove $centre key ctrl+b
# A popup menu is not in the accessibility tree: its last entry, 加入生词本, by the keyboard.
xdotool mousemove $ring sleep 0.3 click 3 sleep 0.5 key Up Return
check "the two words kept are marked" "1 1 2" "$(marks "1 1 2" $centre $ring)"
screenshot "$shots/wordbook-marks.png"
ui do "$main" 生词本 打开生词本
check "生词本 opens as a library" "$title        词库：生词本" "$(ui title "frame:$title*生词本")"
xdotool mousemove $(ui where "$main" "text:") click 1 key ctrl+a type abandon && xdotool key Return
check "in it, the word kept shows the ring it was kept with, marked" "1 1 2" "$(marks "1 1 2" $centre $ring)"
xdotool mousemove $ring sleep 0.3 click --repeat 2 --delay 80 1
turned() { [[ $(ui where "$main" "label:forsake") == "$centre" ]]; }
check "a double-click turns the board to the other word kept" yes "$(wait_for 10 turned && echo yes)"
ui do "$main" 生词本 导出…
ui set "$HOME/生词本.txt" "dialog:导出生词本" "text:File name:"
ui do "dialog:导出生词本" "push button:Save"
check "the export's report" "yes" "$(yes_if ui title "alert:*" "label:已把生词本的 2 个单词导出到*")"
ui do "alert:*" "push button:OK" && ui gone "alert:*" # else the drop below meets the closing box
check "the export: Anki's header lines, a note a word" "#separator:tab #html:false abandon forsake" \
  "$(sed -n '1,2p' "$HOME/生词本.txt" | tr '\n' ' ')$(grep -v '^#' "$HOME/生词本.txt" | cut -f1 | tr '\n' ' ' | sed 's/ $//')"
drop "$prefix/词库/单元1.qd"
check "the library in the drop opens" "$title        词库：单元1" "$(ui title "frame:$title*单元1")"

ui do "$main" 帮助 帮助主题
check "帮助主题 opens the help viewer" "$title 帮助" "$(ui title "frame:$title 帮助")"
screenshot "$shots/help-viewer.png"
ui do "$main" 帮助 关于...
about="dialog:关于 $title"
check "关于... opens the About box" "关于 $title" "$(ui title "$about")"
xdotool mousemove $(ui where "$about" "image:") click 1
# Nothing shows that nothing opens; and the double-click below must not join this click.
sleep 0.8
check "a single click on the product name opens nothing" yes "$(UI_TIMEOUT=0 yes_if ui gone "dialog:我")"
xdotool click --repeat 2 --delay 80 1
check "a double-click on the product name opens the author card" "我" "$(ui title "dialog:我")"
screenshot "$shots/help-card.png"
ui do "dialog:我" "push button:再见"
check "再见 closes the card" yes "$(yes_if ui gone "dialog:我")"
xdotool key Escape
check "Esc closes the About box" yes "$(yes_if ui gone "$about")"
quit_program "second start"
check "settings file unchanged by the second start" "$expected" "$(file_hex "$settings")"
exit $fail
