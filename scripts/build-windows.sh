#!/usr/bin/env bash
# Builds the Windows program (64-bit) on this Debian machine: Qt for Windows once, cached
# (scripts/windows/qt.sh), then dorrit.exe, dorrit-make-library.exe and the test suites into
# build-windows/. Lays out the portable program folder build-windows/dist/ and makes
# build-windows/package/tesmar-dorrit-VERSION-win64.zip and tesmar-dorrit-VERSION-setup.exe.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
started=$SECONDS
qt=$(bash scripts/windows/qt.sh | tail -1)
echo "== Qt for Windows ready in $((SECONDS - started)) s: $qt"

build=build-windows
started=$SECONDS
if [[ ! -f $build/CMakeCache.txt ]]; then
  # The test suites run under Wine from the Linux build's CTest; they find the sources through
  # Wine's drive Z:, which is the Linux root.
  "$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDORRIT_BENCH=ON \
    -DDORRIT_WINDOWS_SOURCE_DIR="Z:$root" -DCMAKE_CROSSCOMPILING_EMULATOR="sh;$root/tests/win/wine_emulator.sh" >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
echo "== program and suites built in $((SECONDS - started)) s"

# The portable folder: the program's own install, the Qt libraries and only the plugins it
# uses (platform, JPEG, the Windows styles), and the compiler's runtime.
dist=$build/dist
rm -rf "$dist"
cmake --install "$build" --prefix "$dist" >/dev/null
cp "$qt"/bin/Qt6{Core,Gui,Widgets,Concurrent}.dll "$dist/"
for plugin in platforms/qwindows imageformats/qjpeg styles/qwindowsvistastyle; do
  mkdir -p "$dist/$(dirname "$plugin")"
  cp "$qt/plugins/$plugin.dll" "$dist/$plugin.dll"
done
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
for dll in "$gcc_dir"/libstdc++-6.dll "$gcc_dir"/libgcc_s_seh-1.dll /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll; do
  [[ -f $dll ]] || dll=$(x86_64-w64-mingw32-g++-posix -print-file-name="$(basename "$dll")")
  cp "$dll" "$dist/"
done
find "$dist" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
package=$build/package
rm -rf "$package" && mkdir -p "$package"
zip=$package/tesmar-dorrit-$version-win64.zip
# Names in UTF-8 with the zip's UTF-8 flag, which Windows' own unpacking honours.
python3 - "$dist" "$zip" "Tesmar单词Dorrit" <<'EOF'
import os, sys, zipfile
dist, out, top = sys.argv[1:]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for folder, dirs, files in os.walk(dist):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            z.write(path, os.path.join(top, os.path.relpath(path, dist)))
EOF
bash scripts/windows/installer.sh "$dist" "$version" "$package/tesmar-dorrit-$version-setup.exe"
echo "== $(du -sh "$dist" | cut -f1) in $dist; $(du -h "$zip" | cut -f1) zipped"
ls -l "$package"
