#!/usr/bin/env bash
# Sets up, builds all four builds (native, native with ASan+UBSan, win64,
# win32) and runs every test: the native unit tests twice, the fuzz targets
# for a bounded time, and the win64 tests under Wine in a private prefix on a
# private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
jobs=$(nproc)

build() {  # build NAME [cmake args...]
  local name=$1; shift
  cmake -S . -B "build/$name" -G Ninja "$@" >/dev/null
  cmake --build "build/$name" -j "$jobs"
}

build native -DCMAKE_BUILD_TYPE=Debug
build native-asan -DCMAKE_BUILD_TYPE=Debug -DTESSALY_SANITIZE=ON
build win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
build win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
# TessalySetup.exe holds both builds' programs: each tree makes it once both
# are built (each tree's e2e_setup installs its own).
for name in win64 win32; do
  cmake --build "build/$name" --target TessalySetup
done

# Only Windows system DLLs may be imported.
for exe in build/win64/src/startup/Tessaly.scr build/win32/src/startup/Tessaly.scr \
           build/win64/src/uninstall/qmunins.exe build/win32/src/uninstall/qmunins.exe \
           build/win64/src/uninstall/st6unst/st6unst.exe build/win32/src/uninstall/st6unst/st6unst.exe; do
  bad=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/{print $3}' |
        grep -viE '^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|winmm|msvcrt|mpr|shlwapi|uuid)\.dll$' || true)
  if [ -n "$bad" ]; then echo "$exe imports non-system DLLs: $bad"; exit 1; fi
done
echo "imports: only Windows system DLLs"

(cd build/native && ctest --output-on-failure -j "$jobs")
(cd build/native-asan && ctest --output-on-failure -j "$jobs")

# Every reader of outside data under libFuzzer, 20 seconds each.
bash scripts/fuzz.sh

# A private Wine prefix, display and wineserver for this run.
run=$(mktemp -d /tmp/tessaly-test.XXXXXX)
export WINEPREFIX="$run/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
  rm -rf "$run"
}
trap cleanup EXIT
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
wineserver -w || true
wineserver -p >/dev/null 2>&1 &
(cd build/win64 && ctest --output-on-failure)
