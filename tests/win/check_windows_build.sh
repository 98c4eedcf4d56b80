#!/usr/bin/env bash
# The program must keep building for Windows. No Qt for Windows is packaged here, so every
# source that a Windows build compiles (the _win variants instead of the _posix ones) is
# checked with the mingw-w64 compiler against the installed Qt headers. Exit 77: skipped.
set -uo pipefail
root=$1
compiler=$(command -v x86_64-w64-mingw32-g++) || { echo "SKIP: mingw-w64 is not installed"; exit 77; }
flags=$(pkg-config --cflags Qt6Widgets Qt6Concurrent Qt6TextToSpeech 2>/dev/null) || { echo "SKIP: no Qt headers"; exit 77; }
# The Linux mkspec would claim a Linux target; Windows code must see _WIN32 only.
flags=$(sed 's|-I[^ ]*/mkspecs/linux-g++||' <<<"$flags")

cd "$root"
failed=0 checked=0
while IFS= read -r source; do
  checked=$((checked + 1))
  if ! out=$("$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Isrc $flags "$source" 2>&1); then
    echo "FAIL: $source"; echo "$out" | head -20; failed=$((failed + 1))
  fi
done < <(git ls-files 'src/*.cpp' | grep -v '_posix\.cpp$')
echo "$((checked - failed)) passed, $failed failed"
exit $((failed > 0))
