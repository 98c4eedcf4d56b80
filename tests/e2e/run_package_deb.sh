#!/usr/bin/env bash
# The Debian package: builds it with CPack from the build, checks its name, files and
# dependencies, validates its menu entry and metainfo, then unpacks it into a read-only tree
# and starts the program from there with a fresh home, as a user would after installing it:
# the window appears and the settings land in the user's own folder.
# The package is left in BUILD_DIR/package/.
# Usage: run_package_deb.sh BUILD_DIR       Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
need cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli
run_as_other_user
begin "$1"

# --- The package ------------------------------------------------------------------------------
# File names in the package are UTF-8; CPack's archiver reads them in the locale's encoding (begin
# sets a UTF-8 one).
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
share=./usr/share/tesmar-dorrit
expected_files=$(printf '%s\n' ./usr/bin/dorrit ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
  ./usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png ./usr/share/icons/hicolor/scalable/apps/$id.svg \
  $share/{011,012,013,vorn1,vorn2,vorn3}.jpg "$share/$title.chm" $share/{词库/sample.qd,联想词库/sample.the} \
  $share/{词库,联想词库}/LICENSE-data.txt | sort)
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
desktop="$root/usr/share/applications/$id.desktop"
check "menu entry validates" "" "$(desktop-file-validate "$desktop" 2>&1 || echo "exit status $?")"
check "menu entry in Education" "Categories=Education;Languages;" "$(grep '^Categories=' "$desktop")"
check "menu entry's Chinese name" "Name[zh_CN]=$title" "$(grep '^Name\[zh_CN\]=' "$desktop")"
check "menu entry starts the installed program" "yes" "$([[ -x $root/usr/bin/$(sed -n 's/^Exec=//p' "$desktop") ]] && echo yes)"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1
check "metainfo validates" "0" "$?"
grep -E '^[EW]:' "$work/appstream.log"

# --- The unpacked program, started by a user with a fresh home ---------------------------------
chmod -R a-w "$root"
tree=$(tree_state "$root")
start_display 1024x768
start_program "$root/usr/bin/dorrit" "$shots/package"
check "its first-start message" 1 "$(seen messages)"
quit_program
user="$HOME/.local/share/$title"
check "the per-user folder holds the settings file" "yes" "$([[ -s $user/Dorrit参数.ini ]] && echo yes)"
check "the per-user folder holds the sample library and the pictures" "yes" \
  "$([[ -f $user/词库/sample.qd && -f $user/Dorrit桌面/1024x768/01.jpg ]] && echo yes)"
check "nothing written into the installed tree" "$tree" "$(tree_state "$root")"
exit $fail
