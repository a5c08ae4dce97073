#!/usr/bin/env bash
# The full-screen show on two monitors and at 192 DPI, with the real
# Tessaly.scr. A nested X server gives Wine real monitors: Xvfb 1824x768 and
# inside it Xephyr with Xinerama and without RANDR, whose two screens Wine
# reports as the monitors 0,0-800,600 (primary) and 800,0-1824,768. The test
# runs in copies of the runner's prefix with a wineserver of their own (one
# at the usual 96 DPI, one at 192 DPI), on displays of its own.
#
# Usage: monitors_test.sh TESSALY_SCR TESSALY_SOAK_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
scr_src=$1
soak_src=$2
base_prefix=$WINEPREFIX

run=$(mktemp -d /tmp/tessaly-monitors.XXXXXX)
xvfb_pid="" xephyr_pid="" show_pid=""
cleanup() {
  [ -n "$show_pid" ] && kill "$show_pid" >/dev/null 2>&1
  for p in "$run/p96" "$run/p192"; do
    [ -d "$p" ] && WINEPREFIX=$p wineserver -k >/dev/null 2>&1
  done
  [ -n "$xephyr_pid" ] && kill "$xephyr_pid" >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1
  rm -rf "$run"
}
trap cleanup EXIT

. "$here/../../scripts/xdisplay.sh"
start_x outer Xvfb -screen 0 1824x768x24 -nolisten tcp
xvfb_pid=${outer_pid:-}
DISPLAY=$outer start_x inner Xephyr +xinerama -extension RANDR -screen 800x600+0+0 -screen 1024x768+800+0 \
  -nolisten tcp
xephyr_pid=${inner_pid:-}
export DISPLAY=$inner
x_up() { xdpyinfo -display "$1" >/dev/null 2>&1; }
check "Xephyr with two screens is up on $inner" x_up "$inner"

# use_prefix DIR: makes DIR the prefix of the following commands, with a
# persistent wineserver of its own.
use_prefix() {
  export WINEPREFIX=$1
  wineserver -p >/dev/null 2>&1 &
}
cp -a "$base_prefix" "$run/p96"
use_prefix "$run/p96"

pics="$run/p96/drive_c/Pics"
mkdir -p "$pics"
for c in lime blue yellow; do convert -size 200x150 "xc:$c" -type TrueColor "BMP3:$pics/$c.bmp"; done
convert -size 400x300 pattern:gray50 -type TrueColor "BMP3:$pics/checker.bmp"
cp "$scr_src" "$run/p96/drive_c/windows/system32/Tessaly.scr"
cp "$soak_src" "$run/p96/drive_c/tessaly_soak.exe"
cp "$here/../../samples/Camera.wav" "$pics/"

APP='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver'
seed() {  # seed PICTURE... -- OPTION=VALUE...: fresh lists and options
  "$WINE" reg delete "$APP" /f >/dev/null 2>&1
  local pictures=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do pictures+=("$1"); shift; done
  shift
  add_list PictureFiles "${pictures[@]}"
  add_list SoundFiles Camera.wav
  for kv in SwapAffect=None Interval=30 BackColor=255 ShowFileName=0 ShowFrame=0 "$@"; do
    option "${kv%%=*}" "${kv#*=}"
  done
}
start_show() {
  timeout 120 "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
  show_pid=$!
}
no_window() { ! window_exists "$1"; }

shot() { import -display "$DISPLAY" -window root "$run/shot.png" 2>/dev/null; }
pixel() {  # pixel X Y: "r g b" of the last shot
  convert "$run/shot.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:
}
is() { near "$(pixel "$1" "$2")" "$3 $4 $5" 24; }  # is X Y R G B: the pixel within 24 of the colour
# uncovered GEOMETRY: pixels of the last shot in GEOMETRY that are neither the
# background nor one of the pictures (the Xephyr desktop is a black and white
# weave).
uncovered() {
  convert "$run/shot.png" -crop "$1" +repage -fuzz 12% -fill 'rgb(1,2,3)' \
    -opaque red -opaque lime -opaque blue -opaque yellow -fill white +opaque 'rgb(1,2,3)' \
    -fill black -opaque 'rgb(1,2,3)' -format '%[fx:round(mean*w*h)]' info:
}
PRIMARY=800x600+0+0 SECOND=1024x768+800+0
covered() { shot; [ "$(uncovered $PRIMARY)" = 0 ] && [ "$(uncovered $SECOND)" = 0 ]; }

# --- 1. Both monitors covered at once, a different picture centred on each ----
seed lime.bmp blue.bmp yellow.bmp -- LastPicture=0 LastSound=0
start_show
check "/s opens the show window" wait_for 10 window_exists "Screen Saver Main Form"
check "and a window on the second monitor" wait_for 20 window_exists "Screen Saver Monitor Form"
check "no desktop pixel shows on either monitor from the first second" wait_for 1 covered
both_shown() { shot; is 400 300 0 255 0 && is 1312 384 0 0 255; }
check "the first picture on the primary monitor, the next one on the second" wait_for 20 both_shown
primary_corners() { is 300 225 0 255 0 && is 499 374 0 255 0 && is 298 223 255 0 0 && is 501 376 255 0 0; }
second_corners() { is 1212 309 0 0 255 && is 1411 458 0 0 255 && is 1210 307 255 0 0 && is 1413 460 255 0 0; }
check "primary: the picture's corners at (300,225) and (499,374)" primary_corners
check "second: the picture's corners at (1212,309) and (1411,458)" second_corners
check "LastPicture is 2 (both took a position)" test "$(stored LastPicture)" = 2
check "LastSound is 1 (the sounds play from the primary monitor only)" test "$(stored LastSound)" = 1
xdotool mousemove 1300 400
sleep 0.3
check "one mouse movement does not end the show" kill -0 "$show_pid"
xdotool key space
check "a key press with the pointer on the second monitor ends the show" wait_for 20 gone "$show_pid"
check "both windows are gone" no_window "Screen Saver Monitor Form"

# --- 2. The next run goes on from the stored position ---------------------------
start_show
next_shown() { shot; is 400 300 255 255 0 && is 1312 384 0 255 0; }
check "the next run shows 3 on the primary monitor and 1 (wrapped) on the second" wait_for 10 next_shown
check "LastPicture is 1" test "$(stored LastPicture)" = 1
for i in 1 2 3 4 5 6 7 8 9 10; do xdotool mousemove $((850 + i * 60)) $((200 + i * 30)); sleep 0.15; done
check "ten mouse movements on the second monitor end the show" wait_for 20 gone "$show_pid"
check "no window of the show is left" no_window "Screen Saver Main Form"

# --- 3. The soak with a window on each monitor ----------------------------------
timeout 400 "$WINE" 'C:\tessaly_soak.exe' soak 600 </dev/null 2>/dev/null | tr -d '\r' > "$run/soak.log"
sed 's/^/# soak: /' "$run/soak.log" | grep -E 'sample|windows on|FAIL|first fault|soak '
check "the soak passes with two monitors (600 slides, objects and memory flat)" grep -q '^soak passed' "$run/soak.log"
check "the soak ran a window on the second monitor" grep -q '^windows on further monitors 1' "$run/soak.log"

# --- 4. Pixel for pixel at 96 and at 192 DPI --------------------------------------
# checker_at X Y: the 400x300 one-pixel checkerboard lies at (X, Y) of the
# last shot unchanged (not one pixel interpolated), with the background
# around it.
checker_at() {
  convert "$run/shot.png" -crop "400x300+$1+$2" +repage "$run/crop.png"
  [ "$(compare -metric AE -fuzz 10% "$run/crop.png" "$pics/checker.bmp" null: 2>&1)" = 0 ] &&
    is $(($1 - 1)) $(($2 + 150)) 255 0 0 && is $(($1 + 400)) $(($2 + 150)) 255 0 0 &&
    is $(($1 + 200)) $(($2 - 1)) 255 0 0 && is $(($1 + 200)) $(($2 + 300)) 255 0 0
}
# caption_height: the height of the white caption at the foot of the primary
# monitor, in pixels.
caption_height() {
  convert "$run/shot.png" -crop 800x140+0+460 +repage -fuzz 25% -fill black +opaque white -format '%@' info: |
    sed -E 's/^[0-9]+x([0-9]+).*/\1/'
}
dpi_run() {  # dpi_run DPI: the checkerboard with its caption
  seed checker.bmp -- ShowFileName=1 LastPicture=0
  start_show
  wait_for 10 window_exists "Screen Saver Main Form"
  shown() { shot; checker_at 200 150; }
  check "$1 DPI: the checkerboard covers exactly 400x300 pixels, unchanged, centred on the primary monitor" \
    wait_for 20 shown
  shown_second() { shot; checker_at 1112 234; }
  check "$1 DPI: and on the second monitor" wait_for 20 shown_second
  eval "caption_$1=$(caption_height)"
  xdotool key space
  wait_for 20 gone "$show_pid"
  wait_for 20 no_window "Screen Saver Main Form"
}
dpi_run 96
wineserver -k >/dev/null 2>&1
wineserver -w
cp -a "$run/p96" "$run/p192"
export WINEPREFIX=$run/p192
pics="$run/p192/drive_c/Pics"
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null
wineserver -w  # the setting is read when the server starts again
use_prefix "$run/p192"
dpi_run 192
echo "# caption height: ${caption_96:-?} px at 96 DPI, ${caption_192:-?} px at 192 DPI"
check "192 DPI: the caption is about twice as tall as at 96 DPI" python3 -c "import sys
a, b = ${caption_96:-0}, ${caption_192:-0}
sys.exit(0 if a > 0 and 1.6 <= b / a <= 2.5 else 1)"

finish
