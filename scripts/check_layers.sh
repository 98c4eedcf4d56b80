#!/usr/bin/env bash
# Fails when an arrow between the source folders runs back: a folder including a folder that
# includes it (directly or round a loop), the widget-free library including QtGui or QtWidgets,
# or the word data holding a menu handler or a UI service.
# Usage: check_layers.sh SRC_DIR CORE_SOURCES_FILE QT_INCLUDE_DIR
set -uo pipefail
src=$1 core_list=$(realpath "$2") qt=$3
fail=0
[[ -r $core_list && -d $qt/QtCore ]] || { echo "FAIL: no list of the widget-free sources or no Qt headers"; exit 1; }
cd "$src" || exit 1

# Folder graph: one "from to" line per folder that includes another folder's header.
edges=$(grep -rHoE '^#include "[a-z]+/' --include='*.h' --include='*.cpp' . |
  sed -E 's#^\./([a-z]+)/[^:]*:\#include "([a-z]+)/#\1 \2#' | awk '$1 != $2' | sort -u)
if ! tsort <<<"$edges" >/dev/null 2>&1; then
  echo "FAIL: the folders include each other round a loop:"
  tsort <<<"$edges" 2>&1 >/dev/null | sed 's/^/  /'
  fail=1
fi
while read -r from to; do
  if grep -qx "$to $from" <<<"$edges"; then echo "FAIL: $from and $to include each other"; fail=1; fi
done <<<"$edges"

# The widget-free library: no header of QtGui or QtWidgets, under either spelling.
while IFS= read -r file; do
  [[ -f $file ]] || continue
  while IFS= read -r header; do
    name=${header#Qt*/}
    for module in QtGui QtWidgets QtConcurrent QtMultimedia QtTextToSpeech; do
      if [[ $header == $module/* || -e $qt/$module/$name ]]; then
        echo "FAIL: $file includes <$header> ($module) but belongs to the widget-free library"
        fail=1
      fi
    done
  done < <(sed -nE 's/^#include <(Q[A-Za-z/]+)>.*/\1/p' "$file")
done < <(tr ';' '\n' <"$core_list")

# The word data reads and holds libraries: no menu handlers, no dialogs or message boxes.
if hits=$(grep -nE '_Click\b|LibraryFileDialog|\bUi[A-Z]|QDialog|QMessageBox' worddata/* 2>/dev/null); then
  echo "FAIL: the word data holds a menu handler or a UI service:"
  sed 's/^/  /' <<<"$hits"
  fail=1
fi
if ls worddata/Ui* >/dev/null 2>&1; then echo "FAIL: a Ui file in worddata/"; fail=1; fi

((fail)) || echo "ok: $(wc -l <<<"$edges") arrows between folders, all one way"
exit $fail
