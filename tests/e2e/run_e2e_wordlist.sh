#!/usr/bin/env bash
# Word lists made into libraries: the command line on a clean data folder and on an existing
# library; a list and a library dropped onto the real window under Xvfb (xdnd_drop.py), the new
# library browsed. Usage: run_e2e_wordlist.sh BUILD_DIR (exit 77: a tool is missing)
set -uo pipefail
build_dir=$1 here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb xdotool import xdpyinfo iconv; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || { echo "SKIP: python3-xlib is not installed"; exit 77; }
source "$here/common.sh"
work=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$work"' EXIT
prefix="$work/program"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
export HOME="$work/home" WINEPREFIX="$work/no-wine-prefix" XDG_RUNTIME_DIR="$work/run" LC_ALL=C.UTF-8
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
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

# The window: a list dropped, both boxes answered, a word looked up; then a word file dropped.
printf 'abandon\nforsake\ndesert\n' >"$work/单元2.csv"
cat >"$work/steps.sh" <<STEPS
answer() { # a message box: its picture taken, then Enter
  for _ in \$(seq 1 50); do
    w=\$(xdotool search --onlyvisible --name "^Tesmar" 2>/dev/null | grep -vx "\$main" | head -1)
    [[ -n \$w ]] && { import -window root "\$shot-\$1.png"; xdotool windowfocus "\$w" key Return; sleep 0.5; echo "answered=\$1"; return; }
    sleep 0.2
  done
}
/usr/bin/python3 "$here/xdnd_drop.py" "\$main" 512 384 "$work/单元2.csv" && echo "dropped=list"
answer question; answer report
echo "after-list=\$(xdotool getwindowname "\$main")"
import -window root "\$shot-opened.png"
xdotool mousemove 105 44 click 1; sleep 0.3; xdotool type --delay 30 abandon; xdotool key Return; sleep 1
import -window root "\$shot-browse.png"
# The centre circle, before and after the look-up: the word and its ring appeared.
echo "browsed=\$(compare -metric AE -crop 500x500+262+134 "\$shot-opened.png" "\$shot-browse.png" null: 2>&1 | cut -d' ' -f1)"
/usr/bin/python3 "$here/xdnd_drop.py" "\$main" 512 384 "$prefix/词库/单元1.qd" && sleep 1
echo "after-qd=\$(xdotool getwindowname "\$main")"
STEPS
shots="$build_dir/e2e-shots"
mkdir -p "$shots"
start_xvfb "$work" 1024x768
seen=$(bash "$here/start_program.sh" "$prefix/dorrit" "$shots/wordlist" "$work/steps.sh" 2>&1)
echo "$seen"
check "a question, then the report" "answered=question answered=report" "$(grep '^answered=' <<<"$seen" | xargs)"
check "the new library opens" "after-list=Tesmar单词Dorrit        词库：单元2" "$(grep '^after-list=' <<<"$seen")"
browsed=$(grep '^browsed=' <<<"$seen" | cut -d= -f2)
check "a word of it looked up" "changed" "$( ((${browsed:-0} > 1000)) && echo changed)"
check "the library in the drop" "after-qd=Tesmar单词Dorrit        词库：单元1" "$(grep '^after-qd=' <<<"$seen")"
exit $fail
