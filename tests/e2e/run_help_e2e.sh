#!/usr/bin/env bash
# The help, the About box and the author card of the installed program, reached as a user
# reaches them: 帮助 > 帮助主题, 帮助 > 关于..., a double-click on the product name.
# Usage: run_help_e2e.sh BUILD_DIR        Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
begin "$1"
install_program
start_display 1024x768
start_program "$prefix/dorrit" "$shots/help" >/dev/null
main="frame:$title*"
yes_if() { "$@" >/dev/null && echo yes; }

ui do "$main" 帮助 帮助主题
viewer="frame:$title 帮助"
check "帮助主题 opens the help viewer" yes "$(yes_if ui title "$viewer")"
screenshot "$shots/help-viewer.png"
# The first entry of the contents, then back: 后退 can be pressed only once a topic was followed.
xdotool mousemove $(ui where "$viewer" "table cell:打开词库") click 1
screenshot "$shots/help-topic.png"
check "a contents entry opens its topic, 后退 returns" yes "$(yes_if ui do "$viewer" "push button:后退")"

ui do "$main" 帮助 关于...
about="dialog:关于 $title"
check "关于... opens the About box" yes "$(yes_if ui title "$about")"
screenshot "$shots/help-about.png"
xdotool mousemove $(ui where "$about" "image:") click 1
# Nothing shows that nothing opens; and the double-click below must not join this click.
sleep 0.8
check "a single click on the product name opens nothing" yes "$(UI_TIMEOUT=0 yes_if ui gone "dialog:我")"
xdotool click --repeat 2 --delay 80 1
check "a double-click on the product name opens the author card" yes "$(yes_if ui title "dialog:我")"
ui do "dialog:我" "push button:我的基本情况"
screenshot "$shots/help-card.png"
ui do "dialog:我" "push button:再见"
check "再见 closes the card" yes "$(yes_if ui gone "dialog:我")"
xdotool key Escape
check "Esc closes the About box" yes "$(yes_if ui gone "$about")"
quit_program
exit $fail
