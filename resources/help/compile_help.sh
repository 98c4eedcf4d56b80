#!/bin/sh
# Compiles the help project into a .chm. The HTML topics stay UTF-8 (they say so in their
# head); the project, contents and index files have no such declaration, so the viewer reads
# them in the help file's language code page, GBK, and they are converted here.
# Usage: compile_help.sh <chmcmd> <source folder> <work folder> <output .chm>
set -eu
chmcmd=$1 source=$2 work=$3 output=$4

rm -rf "$work"
mkdir -p "$work"
cp -R "$source"/. "$work"/
for file in dorrit.hhp toc.hhc index.hhk; do
    iconv -f UTF-8 -t GBK "$source/$file" >"$work/$file"
done
cd "$work"
if ! "$chmcmd" --no-html-scan dorrit.hhp >chmcmd.log 2>&1 || [ ! -s dorrit.chm ]; then
    cat chmcmd.log >&2
    exit 1
fi
cp dorrit.chm "$output"
