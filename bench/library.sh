#!/usr/bin/env bash
# The library figures (bench/run.sh runs this at its end; it also runs
# alone): the time from "Tessaly.scr /s" to the first picture for libraries
# of 1, 10,000 and 100,000 pictures, in one folder and in 1,000 folders with
# "Subfolders" on, in order and in random order; the configuration window's
# time from a list command to the next preview picture with the
# 100,000-picture entry; and the memory per listed picture. The 64-bit build
# in a 64-bit prefix, then the figures that matter most again with the
# 32-bit build in a 32-bit prefix. Each against its goal.
#
#     bash bench/library.sh
#     BEFORE_SCR=/path/to/an/older/Tessaly.scr bash bench/library.sh   # also that program's first pictures
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

for tool in cmake ninja x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix /usr/lib/wine/wine64 \
            /usr/lib/wine/wine Xvfb cjpeg convert python3; do
  command -v "$tool" >/dev/null 2>&1 || { bash scripts/setup.sh; break; }
done
jobs=$(nproc)
echo "library bench: building" >&2
for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j "$jobs" --target Tessaly tessaly_bench tessaly_library_bench >/dev/null
done

run=$(mktemp -d /tmp/tessaly-library-bench.XXXXXX)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  WINEPREFIX=$run/prefix64 wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$run/prefix32 wineserver -k >/dev/null 2>&1 || true
  [ -n "${display_pid:-}" ] && kill "$display_pid" >/dev/null 2>&1 || true
  rm -rf "$run"
}
trap cleanup EXIT
. scripts/xdisplay.sh
start_x display Xvfb -screen 0 1024x768x24 -nolisten tcp || { echo "library bench: Xvfb did not start" >&2; exit 1; }
export DISPLAY=$display

# The libraries, outside the prefixes (Wine reaches them as Z:): hard links
# of one screen-size JPEG with a red block at its centre, so whichever
# picture comes first, the bench sees it.
echo "library bench: making the libraries" >&2
python3 bench/make_pictures.py "$run/pictures" 1024 768 >/dev/null
lib=$run/lib
python3 - "$run/pictures/screen.jpg" "$lib" <<'PY'
import os, shutil, sys
source, lib = sys.argv[1], sys.argv[2]
made = {"n": 0, "copy": None}
def picture(path):
    # A fresh copy now and then: a file takes at most 65,000 links.
    if made["n"] % 50000 == 0:
        made["copy"] = os.path.join(lib, "source%d.jpg" % (made["n"] // 50000))
        shutil.copyfile(source, made["copy"])
    os.link(made["copy"], path)
    made["n"] += 1
def flat(name, count):
    os.makedirs(os.path.join(lib, name))
    for i in range(count):
        picture(os.path.join(lib, name, "IMG_%06d.jpg" % i))
def tree(name, count, folders=1000):
    # Years, events, and the pictures spread over 1,000 event folders.
    for f in range(folders):
        folder = os.path.join(lib, name, "%d" % (2000 + f % 20), "Event %03d" % f)
        os.makedirs(folder)
        for i in range(count // folders):
            picture(os.path.join(folder, "IMG_%06d.jpg" % (f * (count // folders) + i)))
os.makedirs(lib)
flat("one", 1)
flat("flat10k", 10000)
flat("flat100k", 100000)
tree("tree10k", 10000)
tree("tree100k", 100000)
PY
winlib="Z:${lib//\//\\}"

KEY='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver'
make_prefix() {  # make_prefix BITS LOADER ARCH
  local prefix=$run/prefix$1
  WINEPREFIX=$prefix WINEARCH=$3 "$2" wineboot -i >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w || true
  cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
  (WINEPREFIX=$prefix wineserver -p >/dev/null 2>&1 &)
  cp "build/win$1/src/startup/Tessaly.scr" "$prefix/drive_c/windows/system32/Tessaly.scr"
  cp "build/win$1/bench/tessaly_bench.exe" "build/win$1/bench/tessaly_library_bench.exe" "$prefix/drive_c/"
}
# on BITS CMD...: runs CMD in that build's prefix with its loader as $WINE
on() {
  local bits=$1; shift
  local loader=/usr/lib/wine/wine64 arch=win64
  [ "$bits" = 32 ] && loader=/usr/lib/wine/wine arch=win32
  (export WINEPREFIX=$run/prefix$bits WINEARCH=$arch WINE=$loader; "$@")
}
w() { "$WINE" "$@"; }  # the loader of the prefix `on` chose
seed() {  # seed FOLDER SUBFOLDERS RANDOM: the show's list: that folder's entry
  local entry
  entry=$(python3 -c 'import sys; f = sys.argv[1]; print(f.ljust(255) + f.ljust(257), end="")' "$1")
  "$WINE" reg delete "$KEY" /f >/dev/null 2>&1 || true
  "$WINE" reg add "$KEY\\PictureFiles" /v File0 /d "$entry" /f >/dev/null 2>&1
  for kv in Interval=10 SwapAffect=None Stretch=0 ShowFileName=0 ShowFrame=0 LastPicture=0 \
            "Subfolders=$2" "PicRandom=$3"; do
    "$WINE" reg add "$KEY\\Options" /v "${kv%%=*}" /d "${kv#*=}" /f >/dev/null 2>&1
  done
}
median() { python3 -c 'import statistics, sys; print("%.1f" % statistics.median(float(x) for x in sys.argv[1:]))' "$@"; }
verdict() {  # verdict VALUE LIMIT: "met" when VALUE <= LIMIT
  python3 -c 'import sys
try:
    print("met" if float(sys.argv[1]) <= float(sys.argv[2]) else "missed")
except ValueError:
    print("not measured")' "$1" "$2"
}
# first_picture SCR FOLDER SUBFOLDERS RANDOM: median of 3 starts, ms
first_picture() {
  local times=() i
  seed "$2" "$3" "$4"
  for i in 1 2 3; do
    times+=("$("$WINE" 'C:\tessaly_bench.exe' launch FF0000 "$1" /s </dev/null 2>/dev/null | tr -d '\r' |
      awk '/^launch/{print $3}')")
  done
  median "${times[@]}"
}

declare -A goals
library_figures() {  # library_figures BITS CASES...: CASE = label:folder:subfolders
  local bits=$1; shift
  local c label folder sub order random ms
  for c in "$@"; do
    IFS=: read -r label folder sub <<<"$c"
    for order in "in order:0" "random:1"; do
      random=${order#*:}
      ms=$(on "$bits" first_picture 'C:\windows\system32\Tessaly.scr' "$winlib\\$folder\\" "$sub" "$random")
      echo "first picture $bits-bit, $label, ${order%:*}: $ms ms (goal 1000 ms: $(verdict "$ms" 1000))"
      goals["first picture $bits-bit, $label, ${order%:*}"]=$ms
      if [ -n "${BEFORE_SCR:-}" ] && [ "$bits" = 64 ]; then
        before=$(on 64 first_picture 'C:\before.scr' "$winlib\\$folder\\" "$sub" "$random")
        echo "  the program given as BEFORE_SCR: $before ms"
      fi
    done
  done
}
preview_figures() {  # preview_figures BITS
  local out one
  out=$(on "$1" w 'C:\tessaly_library_bench.exe' preview "$winlib\\tree100k\\" 1 6 </dev/null 2>/dev/null | tr -d '\r')
  one=$(on "$1" w 'C:\tessaly_library_bench.exe' preview "$winlib\\one\\" 0 6 </dev/null 2>/dev/null | tr -d '\r')
  local open ms walks count one_ms
  open=$(echo "$out" | awk '/^preview-open/{print $2}')
  ms=$(echo "$out" | awk '/^preview-command/{print $2}')
  walks=$(echo "$out" | awk '/^preview-walks/{print $2}')
  count=$(echo "$out" | awk '/^preview-pictures/{print $2}')
  one_ms=$(echo "$one" | awk '/^preview-command/{print $2}')
  echo "preview $1-bit, 100,000 pictures in 1,000 folders ($count listed): opening to the first picture $open ms; list command to the next picture $ms ms (median of 6) against $one_ms ms with a folder of one picture; folder walks in all: $walks"
  goals["preview $1-bit walks once"]=$walks
  goals["preview $1-bit command"]="$ms $one_ms"
}
memory_figures() {  # memory_figures BITS
  local bits=$1 c label folder sub tag count delta paths held per own
  for c in "100,000 pictures in one folder:flat100k:0" "100,000 pictures in 1,000 folders:tree100k:1"; do
    IFS=: read -r label folder sub <<<"$c"
    read -r tag count delta paths held < <(on "$bits" w 'C:\tessaly_library_bench.exe' memory "$winlib\\$folder\\" "$sub" \
      </dev/null 2>/dev/null | tr -d '\r' | awk '/^memory/')
    per=$(python3 -c "print('%.1f' % (($delta - $paths) / $count) if $count else 'n/a')")
    own=$(python3 -c "print('%.1f' % (($held - $paths) / $count) if $count else 'n/a')")
    echo "memory $bits-bit, $label: $per bytes a picture beyond its path in private bytes ($count pictures, paths $((paths / count)) bytes on average); $own by the list's own count (goal 200: $(verdict "$per" 200))"
    goals["memory $bits-bit, $label"]=$per
  done
}

echo "== the whole library: 64-bit build =="
make_prefix 64 /usr/lib/wine/wine64 win64
if [ -n "${BEFORE_SCR:-}" ]; then cp "$BEFORE_SCR" "$run/prefix64/drive_c/before.scr"; fi
library_figures 64 "1 picture:one:0" "10,000 in one folder:flat10k:0" "100,000 in one folder:flat100k:0" \
  "10,000 in 1,000 folders:tree10k:1" "100,000 in 1,000 folders:tree100k:1"
preview_figures 64
memory_figures 64
on 64 wineserver -k >/dev/null 2>&1 || true

echo "== the whole library: 32-bit build =="
make_prefix 32 /usr/lib/wine/wine win32
library_figures 32 "1 picture:one:0" "100,000 in one folder:flat100k:0" "100,000 in 1,000 folders:tree100k:1"
preview_figures 32
memory_figures 32

echo "== library goals =="
for k in "${!goals[@]}"; do
  case $k in
    "first picture"*) echo "goal $k <= 1000 ms: ${goals[$k]} ms ($(verdict "${goals[$k]}" 1000))" ;;
    memory*) echo "goal $k <= 200 bytes a picture beyond its path: ${goals[$k]} ($(verdict "${goals[$k]}" 200))" ;;
    *"walks once") echo "goal $k (no walk again after list commands): ${goals[$k]} walk(s) ($(verdict "${goals[$k]}" 1))" ;;
  esac
done | sort
