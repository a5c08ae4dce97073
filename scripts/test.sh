#!/usr/bin/env bash
# Sets up, builds all four builds (native, native with ASan+UBSan, win64,
# win32) and runs every test: the native unit tests twice, the fuzz targets
# for a bounded time, and the whole Windows suite twice under Wine: the
# x86_64 build in a 64-bit prefix and the i686 build in a 32-bit prefix,
# each in a private prefix on a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/xdisplay.sh

timings=()
phase_start=$SECONDS
phase() {  # phase NAME: records how long the phase that just ended took
  timings+=("$(printf '%-22s %4d s' "$1" $((SECONDS - phase_start)))")
  phase_start=$SECONDS
}
report_timings() {
  echo "--- time per part"
  printf '%s\n' "${timings[@]}"
}
trap report_timings EXIT

bash scripts/setup.sh
phase setup

jobs=$(nproc)
for preset in native native-asan win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j "$jobs"
done
# TessalySetup.exe holds both builds' programs: each tree makes it once both
# are built (each tree's e2e_setup installs its own).
for preset in win64 win32; do
  cmake --build "build/$preset" --target TessalySetup
done
phase build

# Only Windows system DLLs may be imported.
for exe in build/win64/src/startup/Tessaly.scr build/win32/src/startup/Tessaly.scr \
           build/win64/src/uninstall/qmunins.exe build/win32/src/uninstall/qmunins.exe \
           build/win64/src/uninstall/st6unst/st6unst.exe build/win32/src/uninstall/st6unst/st6unst.exe; do
  bad=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/{print $3}' |
        grep -viE '^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|version|winmm|msvcrt|mpr|shlwapi|uuid)\.dll$' || true)
  if [ -n "$bad" ]; then echo "$exe imports non-system DLLs: $bad"; exit 1; fi
done
echo "imports: only Windows system DLLs"

# Only the window layer, the Win32 halves (*_win.cpp, *_win.h) and common's
# two gateway headers include <windows.h>; the rest is platform-neutral.
leaks=$(grep -rlE '#include (<windows\.h>|"common/Win32\.h")' src tests/unit tests/fuzz \
          --include='*.cpp' --include='*.h' --include='*.c' |
        grep -vE '^src/ui/|_win\.(cpp|h)$|^src/common/(Win32|ScopedWin)\.h$' || true)
if [ -n "$leaks" ]; then echo "<windows.h> outside the Win32 files: $leaks"; exit 1; fi
echo "includes: <windows.h> only in the Win32 files"

# Every C and C++ file is laid out as .clang-format says (clang-format -i
# over the files named lays them out so).
unformatted=$(find src tests bench \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0 |
              xargs -0 clang-format --dry-run 2>&1 | grep -oE '^[^:]+\.(cpp|h|c):' | tr -d ':' | sort -u || true)
if [ -n "$unformatted" ]; then echo "not laid out as .clang-format says:" $unformatted; exit 1; fi
echo "format: every C and C++ file as .clang-format says"

(cd build/native && ctest --output-on-failure -j "$jobs")
phase "native tests"
(cd build/native-asan && ctest --output-on-failure -j "$jobs")
phase "native ASan+UBSan"

# Every reader of outside data under libFuzzer, 20 seconds each.
bash scripts/fuzz.sh
phase fuzz

# wine_suite BUILD LOADER WINEARCH: the Windows tests of one build in a
# private prefix of that architecture, on a private Xvfb display, with a
# persistent wineserver; everything is stopped and removed afterwards.
wine_suite() {
  local build=$1 loader=$2 arch=$3 run rc=0
  run=$(mktemp -d "/tmp/tessaly-test-$build.XXXXXX")
  (
    export WINEPREFIX="$run/prefix" WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    start_x screen Xvfb -screen 0 1024x768x24 -nolisten tcp || { echo "Xvfb did not start"; exit 1; }
    trap 'wineserver -k >/dev/null 2>&1; kill $screen_pid >/dev/null 2>&1' EXIT
    export DISPLAY=$screen
    echo "=== $build: Windows tests under $loader ($arch prefix) on $DISPLAY"
    "$loader" wineboot -i >/dev/null 2>&1
    wineserver -w || true
    # Wine's own Tahoma and the other fonts of fonts-wine are where Windows
    # keeps its fonts, so "MS Shell Dlg" is Tahoma as on Windows (this Wine
    # does not find them where the package puts them).
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    wineserver -p >/dev/null 2>&1 &
    cd "build/$build" && ctest --output-on-failure
  ) || rc=$?
  rm -rf "$run"
  return $rc
}

wine_suite win64 /usr/lib/wine/wine64 win64
phase "win64 under Wine"
wine_suite win32 /usr/lib/wine/wine win32
phase "win32 under Wine"
