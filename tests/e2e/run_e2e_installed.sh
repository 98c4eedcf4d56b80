#!/usr/bin/env bash
# A program folder that the user cannot write (a folder of another user, a read-only medium):
# the program keeps its files in a per-user folder, filled on the first start from the files
# installed beside it, and writes nothing into the program folder. Three starts: the first, a
# second, and a first start again after the user has made the folder their own.
# Usage: run_e2e_installed.sh BUILD_DIR       Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
run_as_other_user
begin "$1"
install_program
chmod -R a-w "$prefix"
start_display 1024x768
user="$HOME/.local/share/$title"
program_folder=$(tree_state "$prefix")
# start NAME: one start and its end, checking the program folder is left alone.
start() {
  start_program "$prefix/dorrit" "$shots/installed-$1"
  quit_program "$1 start"
  check "$1 start writes nothing into the program folder" "$program_folder" "$(tree_state "$prefix")"
}

start first
check "first start: one message" "1" "$(seen messages)"
expected=$(settings_hex '#TRUE#' '#FALSE#' 01.jpg '#TRUE#')
check "the per-user folder holds the settings file" "$expected" "$(file_hex "$user/Dorrit参数.ini")"
check "the per-user folder holds the library folders with the sample" "yes" \
  "$([[ -f $user/词库/sample.qd && -f $user/联想词库/sample.the ]] && echo yes)"
check "the per-user folder holds the help file" "yes" "$(cmp -s "$prefix/$title.chm" "$user/$title.chm" && echo yes)"
check_pictures "$user"

start second
check "second start: no message" "0" "$(seen messages)"
check "second start: settings file unchanged" "$expected" "$(file_hex "$user/Dorrit参数.ini")"
check_pictures "$user"

# The user's own picture and choices, and the first-start decision undone: the first-start
# steps run again, and may not bring the default pictures back over the user's.
own_picture="$user/Dorrit桌面/1024x768/01.jpg"
printf 'my own picture' | "${as_user[@]}" tee "$own_picture" >/dev/null
settings_hex '#FALSE#' '#FALSE#' vorn.jpg '#FALSE#' | xxd -r -p | "${as_user[@]}" tee "$user/Dorrit参数.ini" >/dev/null
start again
check "a first start again: its message" "1" "$(seen messages)"
check "a first start again: the user's picture survives" "my own picture" "$(cat "$own_picture")"
check "a first start again: the user's choices survive" "$(settings_hex '#TRUE#' '#FALSE#' vorn.jpg '#FALSE#')" \
  "$(file_hex "$user/Dorrit参数.ini")"
exit $fail
