#!/usr/bin/env bash
# Makes the Windows installer from the portable folder with NSIS.
# Usage: installer.sh DIST_FOLDER VERSION OUTPUT_EXE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "$1" && pwd) version=$2 out=$(realpath -m "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
win() { tr / '\\' <<<"$1"; }
# What the installer lays down, and what its uninstaller takes away again: each installed file
# by name, so that the user's settings and libraries stay. The default pictures are moved into
# the picture folders at the first start; those go too.
(
  cd "$dist"
  while IFS= read -r folder; do
    echo "SetOutPath \"\$INSTDIR$(win "${folder#.}")\""
    find "$folder" -maxdepth 1 -type f -printf 'File "%p"\n' | sort | sed "s|\"\\./|\"$dist/|"
  done < <(find . -type d | sort)
) >"$work/install.nsh"
(
  cd "$dist"
  find . -type f | sort | while IFS= read -r file; do echo "Delete \"\$INSTDIR$(win "${file#.}")\""; done
  for size in 640x480 800x600 1024x768; do
    for picture in 01 vorn; do echo "Delete \"\$INSTDIR\\Dorrit桌面\\$size\\$picture.jpg\""; done
    echo "RMDir \"\$INSTDIR\\Dorrit桌面\\$size\""
  done
  echo "RMDir \"\$INSTDIR\\Dorrit桌面\""
  find . -mindepth 1 -type d | sort -r | while IFS= read -r folder; do echo "RMDir \"\$INSTDIR$(win "${folder#.}")\""; done
) >"$work/uninstall.nsh"
size_kb=$(du -sk "$dist" | cut -f1)
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$out" -DFILES="$work/install.nsh" \
  -DUNFILES="$work/uninstall.nsh" -DSIZE_KB="$size_kb" -DICON="$here/../../resources/icons/tesmar-dorrit.ico" "$here/installer.nsi"
