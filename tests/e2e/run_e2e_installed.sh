#!/usr/bin/env bash
# A program folder that the user cannot write (another user's folder, a read-only medium): the
# program keeps its files in a per-user folder, filled on the first start from the files
# installed beside it, and writes nothing into the program folder. Three starts: the first, a
# second, and a first start again after the user has made the folder their own.
# Usage: run_e2e_installed.sh BUILD_DIR       Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
run_as_other_user
begin "$1"
chmod -R a-w "$prefix"
start_display 1024x768
user="$HOME/.local/share/$title" program_folder=$(tree_state "$prefix")
start() { # NAME MESSAGES: one start, its messages and its end; the program folder left alone
  start_program "$prefix/dorrit" "$shots/installed-$1"
  check "$1 start: messages shown" "$2" "$(seen messages)"
  quit_program "$1 start"
  check "$1 start writes nothing into the program folder" "$program_folder" "$(tree_state "$prefix")"
}

start first 1
expected=$(settings_hex '#TRUE#' '#FALSE#' 01.jpg '#TRUE#')
check "the per-user folder holds the settings file" "$expected" "$(file_hex "$user/Dorrit参数.ini")"
check "the per-user folder holds the sample library and the help file" "yes" "$([[ -f $user/词库/sample.qd &&
  -f $user/联想词库/sample.the ]] && cmp -s "$prefix/$title.chm" "$user/$title.chm" && echo yes)"
check_pictures "$user"
start second 0
check "second start: settings file unchanged" "$expected" "$(file_hex "$user/Dorrit参数.ini")"
check_pictures "$user"

# The user's own picture and choices, and the first-start decision undone: the first-start
# steps run again, and may not bring the default pictures back over the user's.
printf 'my own picture' | "${as_user[@]}" tee "$user/Dorrit桌面/1024x768/01.jpg" >/dev/null
settings_hex '#FALSE#' '#FALSE#' vorn.jpg '#FALSE#' | xxd -r -p | "${as_user[@]}" tee "$user/Dorrit参数.ini" >/dev/null
start again 1
check "a first start again: the user's picture survives" "my own picture" "$(cat "$user/Dorrit桌面/1024x768/01.jpg")"
check "a first start again: the user's choices survive" "$(settings_hex '#TRUE#' '#FALSE#' vorn.jpg '#FALSE#')" \
  "$(file_hex "$user/Dorrit参数.ini")"
exit $fail
