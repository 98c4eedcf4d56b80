#!/usr/bin/env bash
# The Debian package: builds it with CPack from the build, checks its name, files and
# dependencies, validates its menu entry and metainfo, then unpacks it into a read-only tree
# and starts the program from there under Xvfb with a fresh home, as a user would after
# installing it: the window appears and the settings land in the user's own folder.
# The package is left in BUILD_DIR/package/.
# Usage: run_package_deb.sh BUILD_DIR       Exit 77 (skipped) when a tool is missing.
set -uo pipefail

build_dir=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli Xvfb xdotool import xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
source "$here/common.sh"

make_work

# --- The package ------------------------------------------------------------------------------
# File names in the package are UTF-8; CPack's archiver reads them in the locale's encoding.
export LC_ALL=C.UTF-8
out="$build_dir/package"
rm -rf "$out"
mkdir -p "$out"
(cd "$out" && cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out" >"$work/cpack.log" 2>&1) ||
  { echo "FAIL: cpack"; cat "$work/cpack.log"; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build_dir/CPackConfig.cmake")
deb="$out/tesmar-dorrit_${version}_$(dpkg --print-architecture).deb"
check "package file name" "yes" "$([[ -f $deb ]] && echo yes)"
[[ -f $deb ]] || { ls "$out"; exit 1; }

id=$(sed -n 's/^DORRIT_APP_ID:STRING=//p' "$build_dir/CMakeCache.txt")
expected_files=$(sort <<EOF
./usr/bin/dorrit
./usr/share/applications/$id.desktop
./usr/share/icons/hicolor/128x128/apps/$id.png
./usr/share/icons/hicolor/16x16/apps/$id.png
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/32x32/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/icons/hicolor/64x64/apps/$id.png
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/metainfo/$id.metainfo.xml
./usr/share/tesmar-dorrit/011.jpg
./usr/share/tesmar-dorrit/012.jpg
./usr/share/tesmar-dorrit/013.jpg
./usr/share/tesmar-dorrit/Tesmar单词Dorrit.chm
./usr/share/tesmar-dorrit/vorn1.jpg
./usr/share/tesmar-dorrit/vorn2.jpg
./usr/share/tesmar-dorrit/vorn3.jpg
./usr/share/tesmar-dorrit/联想词库/LICENSE-data.txt
./usr/share/tesmar-dorrit/联想词库/sample.the
./usr/share/tesmar-dorrit/词库/LICENSE-data.txt
./usr/share/tesmar-dorrit/词库/sample.qd
EOF
)
check "the package's files" "$expected_files" "$(dpkg-deb -c "$deb" | grep -v '/$' | awk '{ print $NF }' | sort)"
check "everything belongs to root" "" "$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')"
check "the program is executable" "-rwxr-xr-x" "$(dpkg-deb -c "$deb" | awk '$NF == "./usr/bin/dorrit" { print $1 }')"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# One entry a line, without its version.
depends=$(sed 's/, /\n/g' <<<"$depends" | sed 's/ ([^)]*)//')
# Computed from the executable's links, and what it needs without linking it.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libqt6network6 \
  libqt6texttospeech6 libchm1 libflite1 "fonts-wqy-microhei | fonts-noto-cjk" fonts-dejavu-core; do
  check "depends on $package" "yes" "$(grep -qFx "$package" <<<"$depends" && echo yes)"
done
check "recommends the speech service and its voice" "speech-dispatcher, speech-dispatcher-espeak-ng" \
  "$(dpkg-deb -f "$deb" Recommends)"
check "section" "education" "$(dpkg-deb -f "$deb" Section)"

root="$work/root"
dpkg-deb -x "$deb" "$root"
if out_desktop=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1); then
  check "menu entry validates" "" "$out_desktop"
else
  check "menu entry validates" "" "${out_desktop:-exit status $?}"
fi
check "menu entry in Education" "Categories=Education;Languages;" \
  "$(grep '^Categories=' "$root/usr/share/applications/$id.desktop")"
check "menu entry's Chinese name" "Name[zh_CN]=Tesmar单词Dorrit" \
  "$(grep '^Name\[zh_CN\]=' "$root/usr/share/applications/$id.desktop")"
check "menu entry starts the installed program" "yes" \
  "$(exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$id.desktop") && [[ -x $root/usr/bin/$exec_line ]] && echo yes)"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1
check "metainfo validates" "0" "$?"
grep -E '^[EW]:' "$work/appstream.log"

# --- The unpacked program, started by a user with a fresh home ---------------------------------
start_xvfb "$work" 1024x768

chmod -R a-w "$root"
tree=$(tree_state "$root")
mkdir -p "$work/home" "$work/run" "$work/shots"
chmod 700 "$work/run"
own_by_user "$work/home" "$work/run" "$work/shots"
unset XDG_DATA_HOME XDG_CONFIG_HOME
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" WINEPREFIX="$work/no-wine-prefix"
started=$("${as_user[@]}" bash "$work/start_program.sh" "$root/usr/bin/dorrit" "$work/shots/package")
echo "$started"
mkdir -p "$build_dir/e2e-shots"
cp "$work/shots/"*.png "$build_dir/e2e-shots/" 2>/dev/null
check "the installed program's window" "title=Tesmar单词Dorrit" "$(grep '^title=' <<<"$started")"
check "its first-start message" "messages=1" "$(grep '^messages=' <<<"$started")"
check "退出 ends it" "exit=0" "$(grep '^exit=' <<<"$started")"
user="$HOME/.local/share/Tesmar单词Dorrit"
check "the per-user folder holds the settings file" "yes" "$([[ -s $user/Dorrit参数.ini ]] && echo yes)"
check "the per-user folder holds the sample library and the pictures" "yes" \
  "$([[ -f $user/词库/sample.qd && -f $user/Dorrit桌面/1024x768/01.jpg ]] && echo yes)"
check "nothing written into the installed tree" "$tree" "$(tree_state "$root")"

exit $fail
