#!/usr/bin/env bash
# The Windows installer in a fresh Wine prefix: installed silently for the current user, the
# program started from the Start-menu shortcut (its first start keeps its settings beside it),
# a library made with the installed library maker; then uninstalled silently, which leaves
# nothing behind but the user's own files (the settings file and that library).
# Usage: run_windows_installer.sh LINUX_BUILD WINDOWS_BUILD
WINDOWS_BUILD=$2 source "$(dirname "$0")/wine.sh"
shots="$1/e2e-shots/windows"
mkdir -p "$shots"
start_display
make_prefix
setup=$(ls "$windows_build"/package/tesmar-dorrit-*-setup.exe)
installed="$profile/AppData/Local/Programs/$title"
shortcut="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$title.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TesmarDorrit'

inwine "$setup" /S >"$work/setup.log" 2>&1
"$wineserver" -w
check "installed silently: the program and its libraries" "yes" \
  "$([[ -f $installed/dorrit.exe && -f $installed/Qt6Widgets.dll && -f $installed/platforms/qwindows.dll ]] && echo yes)"
check "the installed folder is the portable folder" "$(cd "$windows_build/dist" && find . -type f | sort)" \
  "$(cd "$installed" && find . -type f ! -name uninstall.exe | sort)"
check "a Start-menu shortcut" "yes" "$([[ -f $shortcut ]] && echo yes)"
check "listed among the installed programs" "yes" \
  "$(inwine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' && echo yes)"

# As from the Start menu: the shortcut opened by the shell, which starts its target.
start_program "$shots/installed" inwine start /wait /unix "$shortcut"
check "started from the shortcut: the first start's message, then the window" 1 "$messages"
import -window root "$shots/installed.png"
quit_program "installed program"
check "the settings file beside the installed program" "yes" "$([[ -s $installed/Dorrit参数.ini ]] && echo yes)"
printf 'abandon\r\nhappy\r\n' >"$work/单元.txt"
(cd "$work" && inwine "$installed/dorrit-make-library.exe" 单元.txt 我的) >"$work/make.log" 2>&1 ||
  { cat "$work/make.log"; check "the installed library maker" 0 1; }

inwine "$installed/uninstall.exe" /S >"$work/uninstall.log" 2>&1
"$wineserver" -w # the uninstaller runs on from a copy of itself
check "uninstalled: only the user's own files stay" "$(printf '%s\n' ./Dorrit参数.ini ./联想词库/我的.the ./词库/我的.qd)" \
  "$(cd "$installed" && find . -type f | sort)"
check "uninstalled: the shortcut goes" "no" "$([[ -e $shortcut ]] && echo yes || echo no)"
check "uninstalled: no longer listed" "no" "$(inwine reg query "$key" >/dev/null 2>&1 && echo yes || echo no)"
exit $fail
