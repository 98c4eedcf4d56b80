#!/usr/bin/env bash
# The Debian package, built with CPack from the build and left in BUILD_DIR/package/: its name,
# files, dependencies, menu entry and metainfo; then unpacked into a read-only tree and started
# from there with a fresh home, as after installing it: the files land in the user's own folder.
# Usage: run_package_deb.sh BUILD_DIR       Exit 77 (skipped) when a tool is missing.
source "$(dirname "$0")/common.sh"
need cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli
run_as_other_user
begin "$1"
# File names in the package are UTF-8; CPack's archiver reads them in the locale's (UTF-8) encoding.
out="$build_dir/package" && rm -rf "$out" && mkdir "$out"
(cd "$out" && cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out" >"$work/cpack.log" 2>&1) ||
  { echo "FAIL: cpack"; cat "$work/cpack.log"; exit 1; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build_dir/CPackConfig.cmake")
deb="$out/tesmar-dorrit_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { echo "FAIL: no package $deb"; ls "$out"; exit 1; }

id=$(sed -n 's/^DORRIT_APP_ID:STRING=//p' "$build_dir/CMakeCache.txt")
share=./usr/share/tesmar-dorrit
check "the package's files" "$(printf '%s\n' ./usr/bin/{dorrit,dorrit-make-library} ./usr/lib/tesmar-dorrit/libdorrit_speech.so ./usr/share/{applications/$id.desktop,metainfo/$id.metainfo.xml} \
  ./usr/share/icons/hicolor/{{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png,scalable/apps/$id.svg} "$share/$title.chm" \
  $share/{011,012,013,vorn1,vorn2,vorn3}.jpg $share/wordtables/{LICENSE.txt,words.dwt} $share/{词库/sample.qd,联想词库/sample.the,{词库,联想词库}/LICENSE-data.txt} | sort)" \
  "$(dpkg-deb -c "$deb" | grep -v '/$' | awk '{ print $NF }' | sort)"
check "everything belongs to root, the programs executable by all" "" \
  "$(dpkg-deb -c "$deb" | awk '$2 != "root/root" || ($NF ~ /^\.\/usr\/bin\/./ && $1 != "-rwxr-xr-x")')"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Computed from the executable's links, and what it needs without linking it; versions aside.
for package in libc6 libstdc++6 libqt6{core,gui,widgets,multimedia,network}6 libchm1 libflite1 \
  "fonts-wqy-microhei | fonts-noto-cjk" fonts-dejavu-core; do
  check "depends on $package" "yes" "$(sed 's/, /\n/g; s/ ([^)]*)//g' <<<"$depends" | grep -qFx "$package" && echo yes)"
done
check "recommends the speech service and its voice; section" "$(printf 'Recommends: speech-dispatcher, speech-dispatcher-espeak-ng\nSection: education')" \
  "$(dpkg-deb -f "$deb" Recommends Section)"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop="$root/usr/share/applications/$id.desktop"
check "menu entry validates" "" "$(desktop-file-validate "$desktop" 2>&1 || echo "exit status $?")"
check "menu entry in Education, its Chinese name, starting the installed program" \
  "$(printf '%s\n' 'Categories=Education;Languages;' Exec=dorrit "Name[zh_CN]=$title")" "$(grep -E '^(Categories|Exec|Name\[zh_CN\])=' "$desktop" | sort)"
check "metainfo validates" "" "$(appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  grep -E '^[EW]:' "$work/appstream.log" || echo failed)"

chmod -R a-w "$root"
tree=$(tree_state "$root")
start_display 1024x768
start_program "$root/usr/bin/dorrit" "$shots/package"
quit_program
user="$HOME/.local/share/$title"
check "its first-start message; the settings file, the sample library and the pictures in the per-user folder" "1 yes" \
  "$(seen messages) $([[ -s $user/Dorrit参数.ini && -f $user/词库/sample.qd && -f $user/Dorrit桌面/1024x768/01.jpg ]] && echo yes)"
check "nothing written into the installed tree" "$tree" "$(tree_state "$root")"
exit $fail
