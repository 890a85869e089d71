#!/usr/bin/env bash
# Cross-builds the Excel add-in (tezlo.dll) for 64-bit and 32-bit Windows with mingw-w64 and runs
# its tests under Wine, in a Wine prefix of its own inside the build folder and on a private X
# server (Xvfb). Every Wine step is time-bounded, so a hung Wine can never hang the run.
# Leaves build/win-x86_64/command_box.png (the command box as Wine draws it) and the per-user
# installer build/win-installer/tezlo-setup.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build

export WINEDEBUG=-all
export WINEPREFIX=$build/win-prefix
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts

# A display number no other X server uses.
display=
for n in $(seq 91 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "windows: no free X display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

# A fresh prefix for every run: the tests check the registry from a clean state.
rm -rf "$WINEPREFIX"
mkdir -p "$build"
timeout 300 wineboot -i >/dev/null 2>&1
timeout 60 wineserver -w

status=0
for arch in x86_64 i686; do
  dir=$build/win-$arch
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEZLO_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" >/dev/null
  cmake --build "$dir" -j 2
  bmp=$dir/command_box.bmp
  rm -f "$bmp"
  TEZLO_COMMAND_BOX_BMP="Z:${bmp//\//\\}" ctest --test-dir "$dir" --output-on-failure --timeout 600 || status=1
  if [ -f "$bmp" ]; then
    bmptopnm "$bmp" 2>/dev/null | pnmtopng >"$dir/command_box.png"
    echo "windows: the command box as Wine draws it: $dir/command_box.png"
  fi
done

# The per-user installer of both DLLs, and its silent install and uninstall under Wine.
installer=$build/win-installer/tezlo-setup.exe
mkdir -p "$(dirname "$installer")"
makensis -V2 -DDLL64="$build/win-x86_64/src/shell/tezlo.dll" -DDLL32="$build/win-i686/src/shell/tezlo.dll" \
  -DOUTFILE="$installer" "$root/src/shell/tezlo_installer.nsi"
"$root/tests/windows/installer_test.sh" "$installer" \
  "$build/win-x86_64/tests/windows/windows_tests.exe" "$build/win-i686/tests/windows/windows_tests.exe" || status=1
exit $status
