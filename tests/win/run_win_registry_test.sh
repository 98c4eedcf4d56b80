#!/usr/bin/env bash
# Builds the Win32 registry and environment calls with mingw-w64 and runs them under Wine
# against a throwaway prefix filled by `wine reg add`; then the Linux reader of the same prefix
# (the tst_WineRegistry executable) must answer as Wine did. Exit 77 (skipped) when mingw-w64
# or Wine is missing or Wine cannot start here.
# Usage: run_win_registry_test.sh <source dir> <tst_WineRegistry executable>
set -u
src=${1:?source dir} reader=${2:?tst_WineRegistry executable}
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
cxx=$(command -v x86_64-w64-mingw32-g++) || skip "x86_64-w64-mingw32-g++ not found"
PATH=$PATH:/usr/lib/wine # where Debian keeps wine64 and wineserver
wine=$(command -v wine64 || command -v wine) || skip "wine not found"
wineserver=$(PATH=$(dirname "$wine"):$PATH command -v wineserver) || skip "wineserver not found" # wine's own
work=$(mktemp -d "${TMPDIR:-/tmp}/dorrit-wine.XXXXXX")
trap '"$wineserver" -k >/dev/null 2>&1; rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix" WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml="

# Wine takes the ANSI code page from the locale (zh_CN: 936), which a bare system has not
# generated: it is compiled into the work folder from the locales package's sources (localedef's
# exit 1 only reports warnings).
mkdir -p "$work/locale" && export LOCPATH="$work/locale"
localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >"$work/localedef.log" 2>&1
[ "$(LC_ALL=zh_CN.UTF-8 locale charmap)" = UTF-8 ] || { tail -3 "$work/localedef.log"; skip "no zh_CN.UTF-8 locale"; }
inwine() { timeout 120 env LC_ALL=zh_CN.UTF-8 "$wine" "$@"; } # the locale for wine only, not this shell

"$cxx" -std=c++20 -O1 -Wall -Wextra -static -I"$src/src" "$src/tests/win/win_registry_test.cpp" \
    "$src/src/platform/Win32Api_win.cpp" -o "$work/win_registry_test.exe" || fail "mingw-w64 build"
inwine wineboot -i >"$work/wineboot.log" 2>&1 || { tail -5 "$work/wineboot.log"; skip "wine cannot start here"; }

reg() { inwine reg "$@" /f >/dev/null || fail "wine reg $*"; }
paths='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths'
named='HKLM\Software\Dorrit\Named'
reg add "$paths\\Tesmar单词Graxo.exe" /ve /d 'C:\Program Files\Graxo\Tesmar单词Graxo.exe'
reg add "$paths\\DorritExpand.exe" /ve /t REG_EXPAND_SZ /d '%DORRIT_TEST_ROOT%\Graxo\g.exe'
reg add "$paths\\DorritNamed.exe" /v Zed /d z
reg add "$paths\\DorritNamed.exe" /v Alpha /t REG_EXPAND_SZ /d '%TEMP%\单词'
reg add "$paths\\DorritLong.exe" /ve /d "C:\\$(printf 'a%.0s' $(seq 300))\\x.exe"
reg add "$paths\\DorritDword.exe" /ve /t REG_DWORD /d 42
# A key left without values (reg add of a bare key would give it an empty default value).
reg add "$paths\\DorritEmpty.exe" /v gone /d x
reg delete "$paths\\DorritEmpty.exe" /v gone
reg add "$named" /v Chinese /d '单词'
reg add "$named" /v Number /t REG_DWORD /d 305419896
reg add "$named" /v Long /d "$(printf 'b%.0s' $(seq 1500))"
reg add "$named" /v Empty /d ''
reg add "$named" /ve /d 'default'

export DORRIT_TEST_ROOT='D:\Dorrit Root' DORRIT_TEST_LONG=$(printf 'L%.0s' $(seq 5000))
inwine "$work/win_registry_test.exe" >"$work/win.out" 2>&1 || { cat "$work/win.out"; fail "Win32 test under wine"; }
tr -d '\r' <"$work/win.out" | grep '^\(first\|named\|expand\|end\) ' >"$work/answers.txt"
"$wineserver" -w # Wine writes system.reg when its server ends.
DORRIT_WINE_ANSWERS="$work/answers.txt" QT_QPA_PLATFORM=offscreen "$reader" || fail "Linux reader of the wine prefix"
echo "PASS"
