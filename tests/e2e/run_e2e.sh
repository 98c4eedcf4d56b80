#!/usr/bin/env bash
# The installed program in a fresh program folder it may write, started as a user would: the
# first start (its message, the window, the files it makes), a second that opens the sample
# library from the menu, a third that changes the options and opens the help, the About box and
# the author card (帮助 > 帮助主题, 帮助 > 关于..., a double-click on the product name).
# Usage: run_e2e.sh BUILD_DIR        Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
begin "$1"
# No shipped library for the first start: only the default pictures, no settings.
mkdir "$work/shipped" && mv "$prefix/词库" "$prefix/联想词库" "$work/shipped/"
start_display 1024x768
settings="$prefix/Dorrit参数.ini" main="frame:$title*"
yes_if() { "$@" >/dev/null && echo yes; }

start_program "$prefix/dorrit" "$shots/first-start"
check "window title" "$title" "$(seen title)"
check "the window fills the screen without a window manager" "1024x768" "$(seen size)"
check "first start shows one message" 1 "$(seen messages)"
screenshot "$shots/first-start.png"
quit_program
expected=$(settings_hex '#TRUE#' '#FALSE#' 01.jpg '#TRUE#')
check "settings file bytes after the first start" "$expected" "$(file_hex "$settings")"
check "library folders made beside the program" "yes" "$([[ -d $prefix/词库 && -d $prefix/联想词库 ]] && echo yes)"
check_pictures "$prefix"

cp -r "$work/shipped/." "$prefix/"
start_program "$prefix/dorrit" "$shots/second-start"
check "second start shows no message" 0 "$(seen messages)"
check "the sample library opens from the menu" "$title        词库：sample" "$(open_library sample.qd)"
screenshot "$shots/second-start-library.png"
quit_program "second start"
check "settings file unchanged by the second start" "$expected" "$(file_hex "$settings")"

# The options dialog keeps the user's choices: 随机 off, 朗读单词 on 运行, then 确定.
start_program "$prefix/dorrit" "$shots/third-start"
ui do "$main" 文件 选项
options="dialog:*选项"
check "文件 > 选项 opens the options dialog" "$title选项" "$(ui title "$options")"
for control in "check box:随机" "page tab:运行" "check box:朗读单词"; do ui do "$options" "$control"; done
screenshot "$shots/third-start-options.png"
ui do "$options" "push button:确定"
check "确定 closes it" "yes" "$(yes_if ui gone "$options")"
# With 随机 off, record 5 keeps the picture shown, whichever of the folder's that was.
chosen=$(iconv -f GBK -t UTF-8 "$settings" | sed -n 's/^"桌面","\(01\|vorn\)\.jpg"\r$/\1.jpg/p')
check "settings file after 确定" "$(settings_hex '#TRUE#' '#TRUE#' "$chosen" '#FALSE#')" "$(file_hex "$settings")"

ui do "$main" 帮助 帮助主题
viewer="frame:$title 帮助"
check "帮助主题 opens the help viewer" "$title 帮助" "$(ui title "$viewer")"
screenshot "$shots/help-viewer.png"
# The first entry of the contents, then back: 后退 can be pressed only once a topic was followed.
xdotool mousemove $(ui where "$viewer" "table cell:打开词库") click 1
check "a contents entry opens its topic, 后退 returns" yes "$(yes_if ui do "$viewer" "push button:后退")"
ui do "$main" 帮助 关于...
about="dialog:关于 $title"
check "关于... opens the About box" "关于 $title" "$(ui title "$about")"
xdotool mousemove $(ui where "$about" "image:") click 1
# Nothing shows that nothing opens; and the double-click below must not join this click.
sleep 0.8
check "a single click on the product name opens nothing" yes "$(UI_TIMEOUT=0 yes_if ui gone "dialog:我")"
xdotool click --repeat 2 --delay 80 1
check "a double-click on the product name opens the author card" "我" "$(ui title "dialog:我")"
ui do "dialog:我" "push button:我的基本情况"
screenshot "$shots/help-card.png"
ui do "dialog:我" "push button:再见"
check "再见 closes the card" yes "$(yes_if ui gone "dialog:我")"
xdotool key Escape
check "Esc closes the About box" yes "$(yes_if ui gone "$about")"
quit_program "third start"
exit $fail
