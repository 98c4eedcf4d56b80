#!/usr/bin/env bash
# The test suites built for Windows, run by the Windows build's CTest under Wine (its emulator),
# in one prefix whose ANSI code page is 936; then what Win32 answers from that prefix's registry
# and environment, against the Linux reader of the same prefix (tst_WineRegistry).
# Usage: run_windows_suites.sh LINUX_BUILD WINDOWS_BUILD TST_WINEREGISTRY
WINDOWS_BUILD=$2 source "$(dirname "$0")/wine.sh"
reader=$3
make_prefix

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

# Qt's libraries and plugins (the test library too) from the Qt the build used, the compiler's
# runtime from the program folder.
qt=$(sed -n 's|^Qt6_DIR:PATH=\(.*\)/lib/cmake/Qt6$|\1|p' "$windows_build/CMakeCache.txt")
export WINEPATH="$(winpath "$qt/bin");$(winpath "$windows_build/dist")" WINEQT_PLUGIN_PATH=$(winpath "$qt/plugins") \
  WINEQT_QPA_PLATFORM=offscreen
export DORRIT_TEST_ROOT='D:\Dorrit Root' DORRIT_TEST_LONG=$(printf 'L%.0s' $(seq 5000))
ctest --test-dir "$windows_build" --output-on-failure --timeout 300 || fail=1
inwine "$windows_build/tests/win_registry_answers.exe" >"$work/win.out" 2>&1 ||
  { cat "$work/win.out"; die "the registry's answers under Wine"; }
tr -d '\r' <"$work/win.out" | grep '^\(first\|named\|expand\|end\) ' >"$work/answers.txt"
"$wineserver" -w # Wine writes system.reg when its server ends.
DORRIT_WINE_ANSWERS="$work/answers.txt" QT_QPA_PLATFORM=offscreen "$reader" || die "the Linux reader of the Wine prefix"
exit $fail
