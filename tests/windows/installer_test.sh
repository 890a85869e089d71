#!/usr/bin/env bash
# The per-user installer under Wine, silently: it installs both DLLs, registers the one that
# matches the installed Excel's bitness (both when there is no Excel to tell), and its
# uninstaller leaves no file and no key. Run by scripts/windows.sh with WINEPREFIX and DISPLAY
# set; arguments: the installer, the 64-bit and the 32-bit test program (stand-ins for excel.exe).
set -uo pipefail
setup=$1
exe64=$2
exe32=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
libid=$(grep -B1 'version(1.0)' "$root/src/shell/tezlo.idl" | sed -n 's/.*uuid(\([0-9A-Fa-f-]*\)).*/\1/p')
passed=0
failed=0

check() {  # description, then a command that must succeed
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "installer: FAILED: $what" >&2
  fi
}
absent() { ! "$@"; }
reg_has() { timeout 60 wine reg query "$1" >/dev/null 2>&1; }
typelib() { reg_has "HKCU\\Software\\Classes\\TypeLib\\{$libid}\\1.0\\0\\$1"; }

appdata=$(timeout 60 wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
install_dir=$(timeout 60 winepath -u "$appdata\\TEZLO" 2>/dev/null)
app_paths='HKCU\Software\Microsoft\Windows\CurrentVersion\App Paths\excel.exe'

install() { timeout 300 wine "$setup" /S; }
uninstall() {
  timeout 120 wine "$install_dir/uninstall.exe" /S
  # The uninstaller runs from a copy of itself; wait for it to finish its work.
  for _ in $(seq 600); do [ -e "$install_dir" ] || break; sleep 0.1; done
  timeout 60 wineserver -w
}
nothing_left() {
  [ ! -e "$install_dir" ] &&
    ! reg_has 'HKCU\Software\Microsoft\Office' &&
    ! reg_has 'HKCU\Software\Classes\Text.Connect' &&
    ! reg_has "HKCU\\Software\\Classes\\TypeLib\\{$libid}" &&
    ! reg_has 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TEZLO'
}

# No Excel to tell the bitness: both DLLs are registered.
check "silent install" install
check "64-bit DLL installed" test -f "$install_dir/x64/tezlo.dll"
check "32-bit DLL installed" test -f "$install_dir/x86/tezlo.dll"
check "add-in key written" reg_has 'HKCU\Software\Microsoft\Office\Excel\Addins\Text.Connect'
check "64-bit DLL registered without Excel" typelib win64
check "32-bit DLL registered without Excel" typelib win32
check "silent uninstall" uninstall
check "no file and no key after uninstalling" nothing_left

# A 64-bit and then a 32-bit Excel: only the matching DLL is registered.
for bits in 64 32; do
  if [ "$bits" = 64 ]; then fake=$exe64; mine=win64; other=win32; else fake=$exe32; mine=win32; other=win64; fi
  timeout 60 wine reg add "$app_paths" /ve /d "$(timeout 60 winepath -w "$fake")" /f >/dev/null 2>&1
  check "install beside a $bits-bit Excel" install
  check "the $bits-bit DLL is registered for a $bits-bit Excel" typelib "$mine"
  check "the other DLL is not registered for a $bits-bit Excel" absent typelib "$other"
  check "uninstall beside a $bits-bit Excel" uninstall
  check "no file and no key after uninstalling beside a $bits-bit Excel" nothing_left
  timeout 60 wine reg delete "$app_paths" /f >/dev/null 2>&1
done

echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
