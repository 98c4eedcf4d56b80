#!/usr/bin/env bash
# The Windows program as a user meets it: the zip unpacked, dorrit.exe started under Wine on an X
# display with a window manager, in a prefix whose ANSI code page is 936 and in which the
# companion program is registered. First from a folder the user cannot write (the program keeps
# its files in a per-user folder), then writable: the first start and its message, the settings
# file's bytes, the companion's library folders shared; a second start without a message, a
# library chosen in the file dialog and one dropped on the window, a word looked up from the
# keyboard, pages, a turn and Back, the help window, the About box and the system-information
# tool, reading aloud without a voice, and 退出. Screens are compared in screenshots.
# Usage: run_windows_program.sh LINUX_BUILD WINDOWS_BUILD
WINDOWS_BUILD=$2 source "$(dirname "$0")/wine.sh"
e2e=$(cd "$(dirname "$0")/../e2e" && pwd)
shots="$1/e2e-shots/windows"
mkdir -p "$shots" && rm -f "$shots"/*
as_other_user
cp "$e2e/e2e.py" "$work/"
start_display
make_prefix

# The companion, registered with its libraries; and where the system-information tool lies.
reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Tesmar单词Graxo.exe' /ve /d 'C:\Graxo\Tesmar单词Graxo.exe'
reg add 'HKLM\Software\Microsoft\Shared Tools Location' /v MSINFO /d 'C:\windows\system32'
"${as_user[@]}" mkdir -p "$drive_c/Graxo/词库" "$drive_c/Graxo/联想词库"
sample="$windows_build/dist"
for name in graxo 单元; do
  "${as_user[@]}" cp "$sample/词库/sample.qd" "$drive_c/Graxo/词库/$name.qd"
  "${as_user[@]}" cp "$sample/联想词库/sample.the" "$drive_c/Graxo/联想词库/$name.the"
done

# The zip as a user unpacks it.
zip=$(ls "$windows_build"/package/tesmar-dorrit-*-win64.zip)
"${as_user[@]}" /usr/bin/python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$work/unzipped"
folder="$work/unzipped/$title" user="$profile/AppData/Roaming/$title"

shot() { sleep 0.5 && import -window root "$shots/$1.png" && convert "$shots/$1.png" -depth 8 "$work/$1.ppm"; }
start() { start_program "$shots/$1" sh -c 'cd "$1" && shift && exec "$@"' _ "$folder" "${as_user[@]}" env LC_ALL=zh_CN.UTF-8 "$wine" dorrit.exe; }
quit() { quit_program "$@"; }

echo "== a folder the user cannot write"
chmod -R a-w "$folder"
before=$(tree_state "$folder")
start readonly
check "read-only folder: the first start's one message" 1 "$messages"
quit "read-only folder"
check "read-only folder: nothing written into it" "$before" "$(tree_state "$folder")"
check "read-only folder: the settings file in the per-user folder" "$(settings_hex '#TRUE#' '#TRUE#' '#FALSE#' 01.jpg '#TRUE#')" \
  "$(file_hex "$user/Dorrit参数.ini")"
check "read-only folder: the per-user folder filled from the program's" "yes" \
  "$([[ -f $user/$title.chm && -f $user/Dorrit桌面/1024x768/01.jpg ]] && echo yes)"

echo "== writable, first start"
chmod -R u+w "$folder"
start first
check "first start: one message, then the main window" 1 "$messages"
check "first start: window title" "$title" "$(xdotool getwindowname "$main")"
shot first-start
quit "first start"
check "first start: settings file bytes" "$(settings_hex '#TRUE#' '#TRUE#' '#FALSE#' 01.jpg '#TRUE#')" "$(file_hex "$folder/Dorrit参数.ini")"
check "first start: the default pictures moved into Dorrit桌面" "3 0" \
  "$(ls "$folder"/Dorrit桌面/*/01.jpg | wc -l) $(ls "$folder"/*.jpg 2>/dev/null | wc -l)"

echo "== second start: browsing the companion's libraries"
# The built-in background, a plain wash, so that the board's circles are the only red and blue.
settings_hex '#TRUE#' '#TRUE#' '#FALSE#' none.jpg '#FALSE#' | xxd -r -p >"$folder/Dorrit参数.ini"
start second
check "second start: no message" 0 "$messages"
layout="190 512,135 693,205 789,374 693,543 512,613 331,543 235,374 331,205 512,374"
shot empty-board
board=$(/usr/bin/python3 "$work/e2e.py" circles "Windows board" 1 "$layout" 30-80 <"$work/empty-board.ppm") || fail=1
echo "$board"
# Where the board begins on the screen, as measured there.
read -r bx by < <(sed -n 's/.*the board at \([0-9]*\)\.[0-9]*, \([0-9]*\)\.[0-9]* starts.*/\1 \2/p' <<<"$board")
over() { xdotool mousemove $((bx + $1)) $((by + $2)); } # X Y: the pointer at a place of the board
caption() { wait_for 10 eval '[[ $(xdotool getwindowname "$main") == *"$1" ]]'; xdotool getwindowname "$main"; }
press ctrl+o
wait_for 20 eval '[[ -n $(windows_named "^选择词库") ]]' || die "no file dialog"
sleep 1 && xdotool type --delay 40 graxo.qd && xdotool key Return
check "the companion's library chosen in the file dialog" "$title        词库：graxo" "$(caption graxo)"
/usr/bin/python3 "$work/e2e.py" drop "$main" 512 384 "$drive_c/Graxo/词库/单元.qd" || fail=1
check "a library dropped on the window opens" "$title        词库：单元" "$(caption 单元)"
shot opened
changed() { /usr/bin/python3 "$work/e2e.py" slots_changed "$work/$1.ppm" "$work/$2.ppm" "$layout"; }
press ctrl+l && typed travel && press Return
shot travel
check "a word looked up from the keyboard fills the centre and the ring" "0 1 2 3 4 5 6 7 8" "$(changed opened travel)"
press Next && shot page2
check "下一屏 (PgDn) shows other ring words, the centre stays" "yes" "$(changed travel page2 | grep -qv 8 && echo yes)"
press Prior && shot page1
check "上一屏 (PgUp) shows the first page again" "" "$(changed travel page1)"
over 693 205 && sleep 0.3 && xdotool click --repeat 2 --delay 80 1 && xdotool mousemove 1023 767 && shot turned
check "a double-click on a ring word turns the board to it" "yes" "$(changed travel turned | grep -q 8 && echo yes)"
over 76 54 && xdotool click 1 && xdotool mousemove 1023 767 && shot back
check "后退 shows the word before, as it was" "" "$(changed travel back)"
press ctrl+b
check "Ctrl+B keeps the centre word in the wordbook, beside the libraries in use" yes \
  "$(wait_for 10 eval 'iconv -f GBK -t UTF-8 "$drive_c/Graxo/词库/生词本.qd" 2>/dev/null | grep -q "^\"travel\""' && echo yes)"

echo "== help, About and the system-information tool"
menu 2 1
check "帮助主题 opens the help window" yes "$(wait_for 20 eval '[[ -n $(windows_named "帮助") ]]' && echo yes)"
shot help
xdotool windowactivate --sync "$(windows_named "帮助" | head -1)" key alt+F4 # the window manager closes it
check "the help window closes" yes "$(wait_for 10 eval '[[ -z $(windows_named "帮助") ]]' && echo yes)"
menu 2 2
about=$(wait_for 20 eval '[[ -n $(windows_named "^关于 $title") ]]' && windows_named "^关于 $title" | head -1)
check "关于... opens the About box" "关于 $title" "$(xdotool getwindowname "$about" 2>/dev/null)"
shot about
xdotool windowactivate --sync "$about" key alt+s
check "系统信息 (Alt+S) starts the system-information tool" yes \
  "$(wait_for 20 eval 'pgrep -f -i msinfo32 >/dev/null' && echo yes)"
shot sysinfo
pkill -f -i msinfo32
xdotool windowactivate --sync "$about" key Escape
check "Esc closes the About box" yes "$(wait_for 10 eval '[[ -z $(windows_named "^关于 $title") ]]' && echo yes)"
quit "second start"

echo "== reading aloud, with no voice installed"
settings_hex '#TRUE#' '#TRUE#' '#TRUE#' none.jpg '#FALSE#' | xxd -r -p >"$folder/Dorrit参数.ini"
start speech
press ctrl+o && wait_for 20 eval '[[ -n $(windows_named "^选择词库") ]]' && sleep 1
xdotool type --delay 40 graxo.qd && xdotool key Return && caption graxo >/dev/null
press ctrl+l && typed travel && press Return
shot speech-before
for slot in 512,135 693,205 789,374 693,543; do # the pointer over ring words, each spoken
  over ${slot%,*} ${slot#*,} && sleep 0.3
done
xdotool mousemove 1023 767 && press Next && shot speech-after
check "reading aloud without a voice: the board still answers" "yes" "$(changed speech-before speech-after | grep -q 0 && echo yes)"
check "reading aloud without a voice: the log says why, once" 1 "$(grep -c 'Reading aloud is unavailable: SAPI 5' "$shots/speech.log")"
quit "reading aloud"
exit $fail
