#!/usr/bin/env bash
# The installed program in a fresh program folder it may write, started three times as a user
# would: the first start (its message, the window, the files it makes), a second start that
# opens the sample library from the menu, a third that changes the options.
# Usage: run_e2e.sh BUILD_DIR        Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
begin "$1"
install_program
# No shipped library for the first start: only the default pictures, no settings.
mkdir "$work/shipped"
mv "$prefix/词库" "$prefix/联想词库" "$work/shipped/"
start_display 1024x768
settings="$prefix/Dorrit参数.ini"
main="frame:$title*"

start_program "$prefix/dorrit" "$shots/first-start"
check "window title" "$title" "$(seen title)"
check "the window fills the screen without a window manager" "1024x768" "$(seen size)"
check "first start shows one message" "1" "$(seen messages)"
screenshot "$shots/first-start.png"
quit_program
expected=$(settings_hex '#TRUE#' '#FALSE#' 01.jpg '#TRUE#')
check "settings file bytes after the first start" "$expected" "$(file_hex "$settings")"
check "library folders made beside the program" "yes" "$([[ -d $prefix/词库 && -d $prefix/联想词库 ]] && echo yes)"
check_pictures "$prefix"

cp -r "$work/shipped/." "$prefix/"
start_program "$prefix/dorrit" "$shots/second-start"
check "second start shows no message" "0" "$(seen messages)"
check "the sample library opens from the menu" "$title        词库：sample" "$(open_library sample.qd)"
screenshot "$shots/second-start-library.png"
quit_program "second start"
check "settings file unchanged by the second start" "$expected" "$(file_hex "$settings")"

# The options dialog keeps the user's choices: 随机 off, 朗读单词 on 运行, then 确定.
start_program "$prefix/dorrit" "$shots/third-start"
ui do "$main" 文件 选项
options="dialog:*选项"
check "文件 > 选项 opens the options dialog" "$title选项" "$(ui title "$options")"
ui do "$options" "check box:随机"
ui do "$options" "page tab:运行"
ui do "$options" "check box:朗读单词"
screenshot "$shots/third-start-options.png"
ui do "$options" "push button:确定"
check "确定 closes it" "yes" "$(ui gone "$options" && echo yes)"
quit_program "third start"
# With 随机 off, record 5 keeps the picture shown, whichever of the folder's that was.
chosen=$(iconv -f GBK -t UTF-8 "$settings" | sed -n 's/^"桌面","\(01\|vorn\)\.jpg"\r$/\1.jpg/p')
check "settings file after 确定" "$(settings_hex '#TRUE#' '#TRUE#' "$chosen" '#FALSE#')" "$(file_hex "$settings")"
exit $fail
