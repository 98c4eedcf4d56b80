#!/usr/bin/env bash
# Word lists made into libraries: the command line on a clean data folder and on an existing
# library; a list and a library dropped onto the real window (xdnd_drop.py), the new library
# browsed. Usage: run_e2e_wordlist.sh BUILD_DIR        Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || { echo "SKIP: python3-xlib is not installed"; exit 77; }
begin "$1"
make="$prefix/dorrit-make-library"

# The command line: the portable folder is its own data folder, with no library folders yet.
rm -rf "$prefix/词库" "$prefix/联想词库"
printf '\xef\xbb\xbfabandon\r\nhappy,adj.快乐的\r\nqzxv\r\n' >"$work/单元1.txt"
out=$("$make" "$work/单元1.txt" 单元1)
check "made on a clean data folder" "0" "$?"
check "report" "写入 3 个单词，2 个有释义（词表自带 1 个，词典查到 1 个）。" "$(sed -n 's/^词库《单元1》已做好：//p' <<<"$out")"
check "word file" '"happy","adj.快乐的"' "$(iconv -f GBK -t UTF-8 "$prefix/词库/单元1.qd" | sed -n 3p | tr -d '\r')"
before=$(tree_state "$prefix")
out=$("$make" "$work/单元1.txt" 单元1 2>&1)
check "an existing library is kept, the user told why" "1 $before 加 --force 覆盖它。" "$? $(tree_state "$prefix") $(tail -1 <<<"$out")"
"$make" "$work/单元1.txt" 单元1 --force >/dev/null
check "--force replaces it" "0" "$?"

# The window: a list dropped, its question and report answered, a word of it looked up; then
# a word file dropped.
printf 'abandon\nforsake\ndesert\n' >"$work/单元2.csv"
start_display 1024x768
start_program "$prefix/dorrit" "$shots/wordlist"
main="frame:$title*" window=$(xdotool search --onlyvisible --name "^Tesmar" | head -1)
drop() { /usr/bin/python3 "$e2e/xdnd_drop.py" "$window" 512 384 "$1"; }
drop "$work/单元2.csv"
check "the question names the library and its words" "yes" \
  "$(ui title "alert:*" "label:*单元2*3 个单词*" >/dev/null && echo yes)"
ui do "alert:*" "push button:Yes"
check "the report follows" "yes" "$(ui title "alert:*" "label:*单元2*" >/dev/null && echo yes)"
screenshot "$shots/wordlist-report.png"
ui do "alert:*" "push button:OK"
check "the new library opens" "$title        词库：单元2" "$(ui title "frame:$title*单元2")"
xdotool mousemove $(ui where "$main" "text:") click 1 key ctrl+a type abandon
xdotool key Return
check "a word of it looked up, its ring from the list" "yes" "$(ui title "$main" "label:forsake" >/dev/null && echo yes)"
screenshot "$shots/wordlist-browse.png"
drop "$prefix/词库/单元1.qd"
check "the library in the drop opens" "$title        词库：单元1" "$(ui title "frame:$title*单元1")"
quit_program
exit $fail
