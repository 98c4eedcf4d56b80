#!/usr/bin/env bash
# Builds the Win32 registry and environment calls with mingw-w64, runs them under Wine
# against a throwaway prefix filled by `wine reg add`, then has the Linux reader of the same
# prefix answer for the same keys. Exit 77 (skipped) when mingw-w64 or Wine is missing or
# Wine cannot start here.
#
# Usage: run_win_registry_test.sh <source dir> [tst_WineRegistry executable]
set -u

src=${1:?source dir}
tst_platform=${2:-}

skip() { echo "SKIP: $*"; exit 77; }

cxx=$(command -v x86_64-w64-mingw32-g++) || skip "x86_64-w64-mingw32-g++ not found"
wine=$(command -v wine64 || command -v wine || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; }) \
    || skip "wine not found"
wineserver=$(command -v wineserver || { [ -x "$(dirname "$wine")/wineserver" ] && echo "$(dirname "$wine")/wineserver"; }) \
    || skip "wineserver not found"

work=$(mktemp -d "${TMPDIR:-/tmp}/dorrit-wine.XXXXXX")
export WINEPREFIX="$work/prefix"
cleanup() {
    "$wineserver" -k >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

# RegEnumValueA answers in the ANSI code page, which Wine takes from the locale (zh_CN: 936).
# Where the system has no zh_CN.UTF-8 it is compiled into the work folder, from the sources
# that the `locales` package ships.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    [ -f /usr/share/i18n/locales/zh_CN ] || skip "no locale sources in /usr/share/i18n: install the locales package"
    mkdir -p "$work/locale"
    # Exit 1 only reports warnings; what counts is whether the locale was written.
    localedef -i zh_CN -f UTF-8 "$work/locale/zh_CN.UTF-8" >"$work/localedef.log" 2>&1
    [ -s "$work/locale/zh_CN.UTF-8/LC_CTYPE" ] || {
        tail -5 "$work/localedef.log"
        skip "cannot make the zh_CN.UTF-8 locale"
    }
    export LOCPATH="$work/locale"
fi
[ "$(LC_ALL=zh_CN.UTF-8 locale charmap 2>/dev/null)" = UTF-8 ] || skip "the zh_CN.UTF-8 locale does not load"
# Set for wine only (through env), so this shell does not try the locale itself.
export WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml="

echo "building the Win32 test"
"$cxx" -std=c++20 -O1 -Wall -Wextra -static -I"$src/src" \
    "$src/tests/win/win_registry_test.cpp" "$src/src/platform/Win32Api_win.cpp" \
    -o "$work/win_registry_test.exe" || { echo "FAIL: mingw-w64 build"; exit 1; }

echo "starting wine in $WINEPREFIX"
timeout 120 env LC_ALL=zh_CN.UTF-8 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || {
    tail -5 "$work/wineboot.log"
    skip "wine cannot start here"
}

paths='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths'
reg() {
    timeout 60 env LC_ALL=zh_CN.UTF-8 "$wine" reg add "$@" /f >/dev/null || { echo "FAIL: wine reg add $*"; exit 1; }
}
reg "$paths\\Tesmar单词Graxo.exe" /ve /d 'C:\Program Files\Graxo\Tesmar单词Graxo.exe'
reg "$paths\\Tesmar单词Graxo.exe" /v Path /t REG_EXPAND_SZ /d '%SystemRoot%\x'
reg "$paths\\DorritExpand.exe" /ve /t REG_EXPAND_SZ /d '%DORRIT_TEST_ROOT%\Graxo\g.exe'
reg "$paths\\DorritNamed.exe" /v Zed /d z
reg "$paths\\DorritNamed.exe" /v beta /t REG_DWORD /d 7
reg "$paths\\DorritNamed.exe" /v Alpha /t REG_EXPAND_SZ /d '%TEMP%\单词'
reg "$paths\\DorritLong.exe" /ve /d "C:\\$(printf 'a%.0s' $(seq 300))\\x.exe"
reg "$paths\\DorritDword.exe" /ve /t REG_DWORD /d 42
# A key left without values (reg add of a bare key would give it an empty default value).
reg "$paths\\DorritEmpty.exe" /v gone /d x
timeout 60 env LC_ALL=zh_CN.UTF-8 "$wine" reg delete "$paths\\DorritEmpty.exe" /v gone /f >/dev/null \
    || { echo "FAIL: wine reg delete"; exit 1; }

# Named values for the system-information look-up.
reg 'HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO' /v PATH /d 'C:\Program Files\MSInfo\msinfo32.exe'
reg 'HKLM\SOFTWARE\Microsoft\Shared Tools Location' /v MSINFO /d 'C:\Program Files\MSInfo'
named='HKLM\Software\Dorrit\Named'
reg "$named" /v Chinese /d '单词'
reg "$named" /v Expand /t REG_EXPAND_SZ /d '%SystemRoot%\msinfo32.exe'
reg "$named" /v Number /t REG_DWORD /d 305419896
reg "$named" /v Long /d "$(printf 'b%.0s' $(seq 1500))"
reg "$named" /v Empty /d ''
reg "$named" /ve /d 'default'

echo "running the Win32 test under wine"
export DORRIT_TEST_ROOT='D:\Dorrit Root'
timeout 120 env LC_ALL=zh_CN.UTF-8 "$wine" "$work/win_registry_test.exe" >"$work/win.out" 2>&1
rc=$?
tr -d '\r' <"$work/win.out" >"$work/win.txt"
grep -v -e "^VALUE " -e "^NAMED " "$work/win.txt"; [ -n "${DORRIT_WINE_VERBOSE:-}" ] && cat "$work/win.txt"
[ "$rc" -eq 0 ] || { echo "FAIL: Win32 test under wine (exit $rc)"; exit 1; }

# Wine writes system.reg when its server ends.
"$wineserver" -w

if [ -n "$tst_platform" ]; then
    echo "comparing the Linux reader of the same prefix"
    grep '^VALUE ' "$work/win.txt" >"$work/expected.txt"
    grep '^NAMED ' "$work/win.txt" >"$work/expected-named.txt"
    DORRIT_WINE_EXPECTED="$work/expected.txt" DORRIT_WINE_NAMED="$work/expected-named.txt" \
        QT_QPA_PLATFORM=offscreen "$tst_platform" \
        || { echo "FAIL: Linux reader of the wine prefix"; exit 1; }
fi
echo "PASS"
