#!/usr/bin/env bash
# The bench: builds what it needs, makes its own Wine prefix and Xvfb
# display, measures, prints one line per figure (each against a baseline
# measured in the same run) and removes everything it made.
#
#     bash bench/run.sh            # everything
#     bash bench/run.sh motion     # the motion figures alone
#
# See bench/README.md for what each figure means.
set -euo pipefail
only=${1:-all}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

for tool in cmake ninja x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix /usr/lib/wine/wine64 \
            /usr/lib/wine/wine Xvfb Xephyr xdpyinfo cjpeg djpeg convert python3; do
  command -v "$tool" >/dev/null 2>&1 || { bash scripts/setup.sh; break; }
done
jobs=$(nproc)

echo "bench: building" >&2
for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j "$jobs" --target Tessaly tessaly_bench >/dev/null
done

# A private prefix, display and wineserver.
run=$(mktemp -d /tmp/tessaly-bench.XXXXXX)
export WINEPREFIX="$run/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
. scripts/xdisplay.sh
show_pid=""
cleanup() {
  [ -n "$show_pid" ] && kill "$show_pid" >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  [ -d "$run/prefix2" ] && WINEPREFIX=$run/prefix2 wineserver -k >/dev/null 2>&1 || true
  [ -d "$run/prefix32" ] && WINEPREFIX=$run/prefix32 wineserver -k >/dev/null 2>&1 || true
  [ -d "$run/prefixhd" ] && WINEPREFIX=$run/prefixhd wineserver -k >/dev/null 2>&1 || true
  [ -n "${hd_pid:-}" ] && kill "$hd_pid" >/dev/null 2>&1 || true
  [ -n "${xephyr_pid:-}" ] && kill "$xephyr_pid" >/dev/null 2>&1 || true
  [ -n "${outer_pid:-}" ] && kill "$outer_pid" >/dev/null 2>&1 || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
  rm -rf "$run"
}
trap cleanup EXIT
start_x display Xvfb -screen 0 1024x768x24 -nolisten tcp || { echo "bench: Xvfb did not start" >&2; exit 1; }
xvfb_pid=$display_pid
export DISPLAY=$display
echo "bench: making the prefix" >&2
"$WINE" wineboot -i >/dev/null 2>&1
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
wineserver -w || true
# Two monitors for the figures that compare with one: Xephyr (800x600 and
# 1024x768 side by side) inside a wider Xvfb, with a copy of the prefix and
# a wineserver of its own.
cp -a "$WINEPREFIX" "$run/prefix2"
start_x outer Xvfb -screen 0 1824x768x24 -nolisten tcp || { echo "bench: Xvfb did not start" >&2; exit 1; }
DISPLAY=$outer start_x display2 Xephyr +xinerama -extension RANDR -screen 800x600+0+0 -screen 1024x768+800+0 \
  -nolisten tcp || { echo "bench: Xephyr did not start" >&2; exit 1; }
xephyr_pid=$display2_pid
WINEPREFIX=$run/prefix2 DISPLAY=$display2 wineserver -p >/dev/null 2>&1 &
wineserver -p >/dev/null 2>&1 &

drive="$WINEPREFIX/drive_c"
cp build/win64/src/startup/Tessaly.scr "$drive/windows/system32/Tessaly.scr"
cp build/win64/bench/tessaly_bench.exe "$drive/tessaly_bench.exe"
bench() { "$WINE" 'C:\tessaly_bench.exe' "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# on_two CMD...: runs CMD with the two-monitor display and prefix.
on_two() { WINEPREFIX=$run/prefix2 DISPLAY=$display2 "$@"; }
echo "bench: making the pictures" >&2
python3 bench/make_pictures.py "$drive/bench" 1024 768
bench metafiles 'C:\bench' 1024 768 >/dev/null
drive2="$run/prefix2/drive_c"
cp -a "$drive/bench" "$drive2/bench"
cp "$drive/tessaly_bench.exe" "$drive2/tessaly_bench.exe"
cp "$drive/windows/system32/Tessaly.scr" "$drive2/windows/system32/Tessaly.scr"

ratio() {
  python3 -c 'import sys
try:
    a, b = float(sys.argv[1]), float(sys.argv[2])
    print("%.2f" % (a / b) if b > 0 else "n/a")
except ValueError:
    print("n/a")' "${1:-}" "${2:-}"
}

# Median wall time (ms) of N native djpeg decodes to /dev/null.
djpeg_ms() {
  python3 - "$1" "$2" <<'PY'
import statistics, subprocess, sys, time
times = []
for _ in range(int(sys.argv[2])):
    t = time.perf_counter()
    subprocess.run(["djpeg", sys.argv[1]], stdout=subprocess.DEVNULL, check=True)
    times.append((time.perf_counter() - t) * 1000)
print("%.3f" % statistics.median(times))
PY
}

# Figures kept for the goals at the end: NAME[where file] = ms.
declare -A slide_ms wic_ms ole_ms
KEY='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver'
if [ "$only" != motion ]; then
echo "== 1. per-slide cost (one NextSlide that loads and places the picture; median) =="
echo "(slide and baselines alike: one process with the show's window open, each once untimed, then N times in turn)"
for bench_picture in 1mp.jpg:9 12mp.jpg:5 48mp.jpg:3 screen.jpg:9 screen.bmp:9 screen.gif:9 screen.png:9 screen.tif:9 \
            screen.wmf:9 screen.emf:9; do
  f=${bench_picture%%:*} n=${bench_picture##*:}
  native=""
  case $f in *.jpg) native=$(djpeg_ms "$drive/bench/$f" "$n") ;; esac
  for where in full preview; do
    out=$(bench slide "C:\\bench\\$f" "$where" "$n")
    ms=$(echo "$out" | awk '/^slide/{print $3}')
    ole=$(echo "$out" | awk '/^decode-ole/{print $2}')
    wic=$(echo "$out" | awk '/^decode-wic/{print $2}')
    slide_ms[$where $f]=$ms
    ole_ms[$where $f]=$ole
    wic_ms[$where $f]=$wic
    line="per-slide $where $f: $ms ms"
    [ -n "$wic" ] && line="$line = $(ratio "$ms" "$wic") x WIC decode $wic ms"
    [ -n "$ole" ] && line="$line; $(ratio "$ms" "$ole") x OLE decode (OleLoadPicturePath) $ole ms"
    [ -n "$native" ] && line="$line; $(ratio "$ms" "$native") x djpeg $native ms"
    echo "$line"
  done
done

fi  # section 1

# The program's own show, with its own settings.
seed_show() {  # seed_show INTERVAL [PICTURE]: one picture (or none), no effect
  "$WINE" reg delete "$KEY" /f >/dev/null 2>&1 || true
  if [ -n "${2:-}" ]; then
    local entry
    entry=$(python3 -c 'import sys; e = [" "] * 512; d = "C:\\bench\\"; e[255:255 + len(d)] = d; f = sys.argv[1]; e[0:len(f)] = f; print("".join(e), end="")' "$2")
    "$WINE" reg add "$KEY\\PictureFiles" /v File0 /d "$entry" /f >/dev/null 2>&1
  fi
  for kv in "Interval=$1" SwapAffect=None Stretch=0 ShowFileName=0 ShowFrame=0 LastPicture=0; do
    "$WINE" reg add "$KEY\\Options" /v "${kv%%=*}" /d "${kv#*=}" /f >/dev/null 2>&1
  done
}

if [ "$only" != motion ]; then
echo "== 1b. per-slide cost with two monitors (800x600 primary, 1024x768 beside it; one show, each window's NextSlide) =="
for bench_picture in 1mp.jpg:9 12mp.jpg:5 screen.bmp:9 screen.emf:9; do
  f=${bench_picture%%:*} n=${bench_picture##*:}
  one=${slide_ms[full $f]:-}  # section 1's figure
  set -- $(on_two bench slide "C:\\bench\\$f" monitors "$n" | awk '/^slide/{print $3, $4}')
  both=$(python3 -c "print('%.3f' % ($1 + $2))")
  echo "per-slide two monitors $f: primary $1 ms, second $2 ms, both $both ms = $(ratio "$both" "$one") x one monitor (1024x768) $one ms"
done

echo "== 2. time to first picture (Tessaly.scr /s, process start to picture on screen; median of 3) =="
median() { python3 -c 'import statistics, sys; print("%.1f" % statistics.median(float(x) for x in sys.argv[1:]))' "$@"; }
seed_show 10 screen.jpg
pics=()
for i in 1 2 3; do pics+=("$(bench launch FF0000 'C:\windows\system32\Tessaly.scr' /s | awk '/^launch/{print $3}')"); done
seed_show 10
wins=()
for i in 1 2 3; do wins+=("$(bench launch - 'C:\windows\system32\Tessaly.scr' /s | awk '/^launch/{print $2}')"); done
first=$(median "${pics[@]}")
empty=$(median "${wins[@]}")
echo "first picture: $first ms = $(ratio "$first" "$empty") x start-to-window with an empty list $empty ms (the show waits 500 ms before its first slide by design)"

echo "== 3. transitions (RunTransition; measured vs nominal = steps x StepDelay x 25 us) =="
for where in full preview; do
  bench transitions "$where" 'C:\bench\screen.bmp' | while read -r _ w rest; do
    effect=$(echo "$rest" | sed 's/^"\([^"]*\)".*/\1/')
    set -- $(echo "$rest" | sed 's/^"[^"]*" //')
    echo "transition $w \"$effect\" speed $1: $2 ms = $(ratio "$2" "$3") x nominal $3 ms ($4 steps)"
  done
done

fi  # sections 1b to 3

# cpu_of LABEL FIRST: after LastPicture reads FIRST, 30 s of the show's CPU
cpu_of() {
  "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
  show_pid=$!
  local deadline=$(( $(date +%s) + 30 ))
  until "$WINE" reg query "$KEY\\Options" /v LastPicture 2>/dev/null | grep -q "REG_SZ *$2"; do
    [ "$(date +%s)" -ge "$deadline" ] && break
    sleep 0.2
  done
  local hz c0 c1 t0 t1
  hz=$(getconf CLK_TCK)
  c0=$(awk '{print $14 + $15}' "/proc/$show_pid/stat"); t0=$(date +%s.%N)
  sleep 30
  c1=$(awk '{print $14 + $15}' "/proc/$show_pid/stat"); t1=$(date +%s.%N)
  kill "$show_pid" >/dev/null 2>&1 || true
  show_pid=""
  python3 -c 'import sys
label = sys.argv[1]
c0, c1, hz, t0, t1 = map(float, sys.argv[2:])
print("%s: %.2f %% of one core (%.2f s CPU in %.1f s, the slide changes of the interval included)" % (label, (c1 - c0) / hz / (t1 - t0) * 100, (c1 - c0) / hz, t1 - t0))' "$1" "$c0" "$c1" "$hz" "$t0" "$t1"
}
idle() { cpu_of "idle $1" "$2"; }

if [ "$only" != motion ]; then
echo "== 4. idle cost (Tessaly.scr /s, Interval 10, 30 s after the first picture; one monitor, then two) =="
seed_show 10 1mp.jpg
idle "one monitor" 1
on_two seed_show 10 1mp.jpg
# Two windows: after the first slide of each the stored position is 1 again
# (one picture in the list).
on_two idle "two monitors" 1

echo "== 5. memory (the 48 MP JPEG shown full screen and in the preview; the OLE decode the first versions held) =="
# Private bytes as the process sees them; under Wine they leave out what
# Wine's Unix side allocates, where the imaging component's decoders keep
# their pixels. So also the process's peak resident set (Linux), less that
# of the same run over the screen-size JPEG.
peak_rss() {  # peak_rss MODE ARGS...: the bench's output line, then its peak resident set in kB
  python3 -c 'import resource, subprocess, sys
r = subprocess.run(sys.argv[1:], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
line = [l for l in r.stdout.decode(errors="replace").replace("\r", "").splitlines() if l.startswith("memory")]
print((line[0] if line else "memory 0 0 0 0 0 0 none"), resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' \
    "$WINE" 'C:\tessaly_bench.exe' "$@"
}
declare -A mem_private mem_rss
for where in full preview ole; do
  if [ "$where" = ole ]; then
    big=$(peak_rss memory-ole 'C:\bench\48mp.jpg') small=$(peak_rss memory-ole 'C:\bench\screen.jpg')
  else
    big=$(peak_rss memory 'C:\bench\48mp.jpg' "$where") small=$(peak_rss memory 'C:\bench\screen.jpg' "$where")
  fi
  out=$(echo "$big ${small##* }" | awk '{
    decoded = $6 * $7 * 4
    if (decoded <= 0) { print "line memory " $8 ": not measured"; exit }
    rss = ($9 - $10) * 1024
    printf "line memory %s: private bytes peak %.1f MB = %.2f x decoded size %.1f MB (%dx%dx4), while shown %.2f x; peak resident set over that of a screen-size slide %.1f MB = %.2f x\n",
      $8, $5 / 1048576, $5 / decoded, decoded / 1048576, $6, $7, $4 / decoded, rss / 1048576, rss / decoded
    printf "private %.4f\nrss %.4f\n", $5 / decoded, rss / decoded }')
  echo "$out" | sed -n 's/^line //p'
  mem_private[$where]=$(echo "$out" | awk '/^private/{print $2}')
  mem_rss[$where]=$(echo "$out" | awk '/^rss/{print $2}')
done

echo "== 6. the 32-bit build (i686 Tessaly.scr and bench in a 32-bit prefix, same display) against the 64-bit figures above =="
WINE32=/usr/lib/wine/wine
prefix32=$run/prefix32
on_32() { WINEPREFIX=$prefix32 WINEARCH=win32 WINE=$WINE32 "$@"; }
on_32 "$WINE32" wineboot -i >/dev/null 2>&1
on_32 wineserver -w || true
cp /usr/share/wine/fonts/*.ttf "$prefix32/drive_c/windows/Fonts/"
on_32 wineserver -p >/dev/null 2>&1 &
cp -a "$drive/bench" "$prefix32/drive_c/bench"
cp build/win32/src/startup/Tessaly.scr "$prefix32/drive_c/windows/system32/Tessaly.scr"
cp build/win32/bench/tessaly_bench.exe "$prefix32/drive_c/tessaly_bench.exe"
bench32() { on_32 "$WINE32" 'C:\tessaly_bench.exe' "$@" </dev/null 2>/dev/null | tr -d '\r'; }
for bench_picture in 1mp.jpg:9 12mp.jpg:5 screen.jpg:9 screen.bmp:9 screen.png:9 screen.emf:9; do
  f=${bench_picture%%:*} n=${bench_picture##*:}
  for where in full preview; do
    ms=$(bench32 slide "C:\\bench\\$f" "$where" "$n" | awk '/^slide/{print $3}')
    echo "per-slide 32-bit $where $f: $ms ms = $(ratio "$ms" "${slide_ms[$where $f]:-}") x the 64-bit build's ${slide_ms[$where $f]:-} ms"
  done
done
on_32 seed_show 10 screen.jpg
pics32=()
for i in 1 2 3; do pics32+=("$(bench32 launch FF0000 'C:\windows\system32\Tessaly.scr' /s | awk '/^launch/{print $3}')"); done
first32=$(median "${pics32[@]}")
echo "first picture 32-bit: $first32 ms = $(ratio "$first32" "$first") x the 64-bit build's $first ms"

fi  # sections 4 to 6

echo "machine load: $(uptime | sed "s/.*load average: //") (1, 5, 15 minutes)"
echo "== 7. motion (cross-fades of 4 s and pans of 150 frames, 3 runs each; fps = median of the runs, frame times pooled) =="
# Our frames against GDI's own ways on the same window and pictures, as fast
# as each goes: AlphaBlend for a cross-fade frame, StretchBlt in HALFTONE
# mode for a pan frame. A 1920 x 1080 display with a prefix of its own.
hd=$(free_display $((${display2#:} + 1)))
Xvfb "$hd" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
hd_pid=$!
for _ in $(seq 50); do x_up "$hd" && break; sleep 0.1; done
cp -a "$WINEPREFIX" "$run/prefixhd"
on_hd() { WINEPREFIX=$run/prefixhd DISPLAY=$hd "$@"; }
on_hd wineserver -p >/dev/null 2>&1 &
for d in "$drive" "$drive2" "$run/prefixhd/drive_c"; do
  convert "$drive/bench/screen.jpg" -flop "$d/bench/screen2.jpg"
  convert "$drive/bench/screen.jpg" -resize '1920x1080!' "$d/bench/hd.jpg"
  convert "$d/bench/hd.jpg" -flop "$d/bench/hd2.jpg"
done
declare -A fps p99 own gdi
motion() {  # motion LABEL [env...] -- ARGS...: one run of the bench's motion mode, its lines kept
  local label=$1; shift
  local out
  out=$("$@" </dev/null 2>/dev/null | tr -d '\r')
  echo "$out" | awk -v l="$label" '
    /^motion-frames/ { printf "motion %s %s: %.1f frames a second (%s, paced by %s), frame time p50 %.1f ms, p95 %.1f ms, p99 %.1f ms\n", l, $2, $4, $8, $9, $5, $6, $7 }
    /^motion-throughput/ { printf "motion %s %s as fast as it goes: %.1f frames a second = %.2f x GDI'"'"'s %s %.1f\n", l, $2, $4, ($5 > 0 ? $4 / $5 : 0), ($2 == "fade" ? "AlphaBlend" : "HALFTONE StretchBlt"), $5 }
    /^motion-length/ { printf "motion %s cross-fade length at speed %d: %.3f s = %.3f x nominal %.3f s (%d frames)\n", l, $2, $3, $3 / $4, $4, $5 }
    /^motion-cpu/ { printf "motion %s CPU of the process while a picture pans: %.1f %% of one core\n", l, $3 }'
  # A label is run once for the fade and once for the pan: each run keeps
  # only the figures it measured.
  local what f l
  for what in fade pan; do
    f=$(echo "$out" | awk -v w=$what '$1 == "motion-frames" && $2 == w {print $4}')
    [ -n "$f" ] || continue
    fps[$label $what]=$f
    p99[$label $what]=$(echo "$out" | awk -v w=$what '$1 == "motion-frames" && $2 == w {print $7}')
  done
  l=$(echo "$out" | awk '/^motion-length/ {printf "%s:%s ", $2, $3 / $4}')
  [ -z "$l" ] || lengths[$label]=$l
}
declare -A lengths
for what in fade pan; do
  motion "1024x768" bench motion $what 'C:\bench\screen.jpg' 'C:\bench\screen2.jpg' full 3 150
  motion "1920x1080" on_hd "$WINE" 'C:\tessaly_bench.exe' motion $what 'C:\bench\hd.jpg' 'C:\bench\hd2.jpg' full 3 150
  motion "two monitors" on_two "$WINE" 'C:\tessaly_bench.exe' motion $what 'C:\bench\screen.jpg' 'C:\bench\screen2.jpg' monitors 3 150
  motion "preview" bench motion $what 'C:\bench\screen.jpg' 'C:\bench\screen2.jpg' preview 3 150
  # Direct2D forced (there is no graphics processor here: Wine's Direct2D
  # draws on Mesa's software renderer).
  motion "1920x1080 Direct2D" on_hd env TESSALY_MOTION=d2d "$WINE" 'C:\tessaly_bench.exe' motion $what 'C:\bench\hd.jpg' 'C:\bench\hd2.jpg' full 1 60
done
# The program itself: CPU while a picture pans (1024 x 768), and idle with
# pan and zoom off (as section 4).
seed_show 10 screen.jpg
"$WINE" reg add "$KEY\\Options" /v PanZoom /d 1 /f >/dev/null 2>&1
"$WINE" reg add "$KEY\\Options" /v Stretch /d 1 /f >/dev/null 2>&1
pan_cpu=$(cpu_of "motion CPU of Tessaly.scr /s while a picture pans (1024x768, PanZoom 1, Interval 10)" 1)
echo "$pan_cpu"
seed_show 10 1mp.jpg
idle_off=$(idle "one monitor, pan and zoom off" 1)
echo "$idle_off"
idle_pct=$(echo "$idle_off" | sed -n 's/.*: \([0-9.]*\) %.*/\1/p')
kill "$hd_pid" >/dev/null 2>&1 || true
on_hd wineserver -k >/dev/null 2>&1 || true

# Each goal, met or missed, from the figures above.
verdict() {  # verdict VALUE LIMIT: "met" when VALUE <= LIMIT
  python3 -c 'import sys
try:
    print("met" if float(sys.argv[1]) <= float(sys.argv[2]) else "missed")
except ValueError:
    print("not measured")' "$1" "$2"
}
echo "== goals =="
at_least() {  # at_least VALUE LIMIT
  python3 -c 'import sys
try:
    print("met" if float(sys.argv[1]) >= float(sys.argv[2]) else "missed")
except ValueError:
    print("not measured")' "$1" "$2"
}
for what in fade pan; do
  f=${fps[1920x1080 $what]:-} p=${p99[1920x1080 $what]:-}
  echo "goal motion $what at 1920x1080 >= 50 frames a second: $f ($(at_least "$f" 50)); p99 frame time < 40 ms: $p ms ($(verdict "$p" 40))"
done
for l in ${lengths[1024x768]:-}; do
  r=${l#*:}
  echo "goal cross-fade length at speed ${l%%:*} within 10 % of nominal: $r x ($(python3 -c "import sys; print('met' if abs(float(sys.argv[1]) - 1) <= 0.1 else 'missed')" "$r"))"
done
echo "goal idle CPU with pan and zoom off unchanged (today 0.33 % of one core): ${idle_pct:-} % = $(ratio "${idle_pct:-}" 0.33) x"
[ "$only" = motion ] && exit 0
for f in 12mp.jpg 48mp.jpg; do
  p=${slide_ms[preview $f]:-}
  r_wic=$(ratio "$p" "${wic_ms[preview $f]:-}") r_ole=$(ratio "$p" "${ole_ms[preview $f]:-}")
  echo "goal preview per-slide $f <= 0.6 x full decode: $r_wic x WIC decode ($(verdict "$r_wic" 0.6)), $r_ole x OLE decode ($(verdict "$r_ole" 0.6))"
done
for f in screen.bmp screen.gif 1mp.jpg 12mp.jpg 48mp.jpg screen.jpg screen.png screen.tif; do
  r=$(ratio "${slide_ms[full $f]:-}" "${wic_ms[full $f]:-}")
  echo "goal full-screen per-slide $f <= 1.2 x WIC decode: $r x ($(verdict "$r" 1.2))"
done
echo "goal peak memory, 48 MP full screen no worse than today (1.18 x decoded size in private bytes): private bytes ${mem_private[full]:-} x ($(verdict "${mem_private[full]:-}" 1.18)); resident set ${mem_rss[full]:-} x against the OLE decode's ${mem_rss[ole]:-} x ($(verdict "${mem_rss[full]:-}" "${mem_rss[ole]:-}"))"
echo "goal peak memory, 48 MP preview <= 0.25 x decoded size: private bytes ${mem_private[preview]:-} x ($(verdict "${mem_private[preview]:-}" 0.25)); resident set ${mem_rss[preview]:-} x ($(verdict "${mem_rss[preview]:-}" 0.25))"

# The whole library: its own prefixes and display (bench/library.sh).
cleanup
trap - EXIT
bash "$root/bench/library.sh"
