#!/usr/bin/env bash
# Builds Qt for Windows from Debian's own qt6-base source, once, and prints its prefix on the
# last line. The prefix is kept in a cache folder ($DORRIT_WIN_QT_CACHE, by default
# ~/.cache/tesmar-dorrit/qt-windows) under a name made of Qt's version and a hash of the
# configure options and the toolchain, so a changed option builds a new one and an unchanged
# one is reused. Needs the host Qt tools of the same version (qt6-base-dev), mingw-w64,
# ninja and dpkg-dev, which scripts/setup.sh installs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${DORRIT_WIN_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tesmar-dorrit/qt-windows}
toolchain=$here/mingw-w64-x86_64.cmake
# The source must match the host tools that generate code for it (moc, rcc, uic).
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
host_cmake=$(dirname "$(dpkg -L qt6-base-dev | grep -m1 '/cmake/Qt6/Qt6Config.cmake$')")/..

# Only what the program uses; the bundled third-party libraries, as Windows has none of them.
# Debian's source lacks wintab.h (tablet events); with OpenGL off, dynamicgl must be off too;
# without Direct2D, the DirectWrite font database (not the default one) does not link.
options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_opengl=OFF
  -DFEATURE_dynamicgl=OFF -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
  -DFEATURE_pkg_config=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_jpeg=ON
)
key=$( { echo "$version"; printf '%s\n' "${options[@]}"; cat "$toolchain"; } | sha256sum | cut -c1-12)
prefix=$cache/qt-${version%%+*}-$key
if [[ -f $prefix/.complete ]]; then
  echo "Qt for Windows: cached at $prefix" >&2
  echo "$prefix"
  exit 0
fi

log() { echo "== $*" >&2; }
mkdir -p "$cache/source"
source_dir=$cache/source/qtbase-$version
if [[ ! -f $source_dir/.complete ]]; then
  log "fetching the qt6-base $version source with apt's source client"
  apt_dir=$cache/source/apt
  rm -rf "$apt_dir" && mkdir -p "$apt_dir"/{lists/partial,cache/archives/partial,parts}
  : >"$apt_dir/sources.list"
  # Source entries with the same addresses and suites as the machine's own binary entries.
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $f ]] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >>"$apt_dir/sources.list"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] || continue
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
      { keep = 0; out = ""
        n = split($0, lines, "\n")
        for (i = 1; i <= n; i++) {
          line = lines[i]
          if (line ~ /^Types:/) { if (line ~ /[[:space:]]deb([[:space:]]|$)/) keep = 1; line = "Types: deb-src" }
          out = out line "\n"
        }
        if (keep) printf "%s\n", out }' "$f" >"$apt_dir/parts/$(basename "$f")"
  done
  apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o Debug::NoLocking=1)
  [[ $(id -u) -eq 0 ]] && apt_opts+=(-o APT::Sandbox::User=root)
  apt-get "${apt_opts[@]}" update >&2
  rm -rf "$cache/source/download" && mkdir -p "$cache/source/download"
  (cd "$cache/source/download" && apt-get "${apt_opts[@]}" source --download-only "qt6-base=$version" >&2)
  rm -rf "$source_dir"
  dpkg-source --no-check -x "$cache/source/download"/qt6-base_*.dsc "$source_dir" >&2
  touch "$source_dir/.complete"
  rm -rf "$apt_dir"
fi

build=$cache/build-$key
rm -rf "$build" "$prefix"
log "configuring Qt for Windows in $build"
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$(realpath "$host_cmake")" \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$cache/configure-$key.log" 2>&1 ||
  { tail -40 "$cache/configure-$key.log" >&2; exit 1; }
log "building Qt for Windows (about half an hour on two cores, once)"
cmake --build "$build" -j"$(nproc)" >"$cache/build-$key.log" 2>&1 ||
  { grep -m5 -B2 -A10 'FAILED:' "$cache/build-$key.log" >&2; exit 1; }
cmake --install "$build" >/dev/null
touch "$prefix/.complete"
rm -rf "$build"
echo "$prefix"
