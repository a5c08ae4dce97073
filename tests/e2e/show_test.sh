#!/usr/bin/env bash
# Drives the full-screen show (/s) and the system preview (/p) of the real
# Tessaly.scr: what appears on the screen, how it ends, what it stores and
# what it plays.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
scr_src=$1
parent_exe=$2
samples=$3

sysdir="$WINEPREFIX/drive_c/windows/system32"
cp "$scr_src" "$sysdir/Tessaly.scr"
pics="$WINEPREFIX/drive_c/Pics"
mkdir -p "$pics"
cp "$samples"/*.jpg "$samples"/*.wav "$pics/"
convert -size 1024x768 xc:white "$pics/White.bmp"
APP='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver'
work=$(mktemp -d)
mkdir -p "$work/home"
show_pid=""
# Ends the show this script started, if it still runs.
stop_show() {
  [ -n "$show_pid" ] && kill "$show_pid" >/dev/null 2>&1
  [ -n "$show_pid" ] && wait_for 10 gone "$show_pid"
  show_pid=""
}
trap 'stop_show; rm -rf "$work"' EXIT

reset_state() {
  stop_show
  "$WINE" reg delete 'HKCU\Software\Quillmark Inc.' /f >/dev/null 2>&1
}


start_show() {  # starts /s in the background; $show_pid is its process
  HOME=$work/home timeout 120 "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
  show_pid=$!
}

shot() { import -window root "$work/shot.png" 2>/dev/null; }
pixel() {  # pixel X Y: "r g b" of the last shot
  convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:
}
sample_pixel() {  # sample_pixel FILE X Y
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# --- 1. The first picture, centred at its natural size on the background ---
reset_state
add_list PictureFiles Sample1.jpg
option BackColor 255
option SwapAffect None
option Interval 30
start_show
check "/s opens the show window" wait_for 10 window_exists "Screen Saver Main Form"
# The window may show black for a moment before its first paint, so the
# picture counts as shown once the middle pixel is the picture's own.
centre=$(sample_pixel "$samples/Sample1.jpg" 200 150)
edge=$(sample_pixel "$samples/Sample1.jpg" 5 5)
centre_shown() { shot; near "$(pixel 512 384)" "$centre" 24; }
check "the first picture appears, centred at natural size (middle pixel)" wait_for 20 centre_shown
check "background colour at the corners" near "$(pixel 3 3)" "255 0 0" 10
check "background colour just left of the picture" near "$(pixel 305 384)" "255 0 0" 10
check "picture's top-left corner at (312, 234)" near "$(pixel 317 239)" "$edge" 24
sleep 1.5
check "a still mouse does not end the show" alive "$show_pid"
xdotool key space
check "a key press ends the show" wait_for 10 gone "$show_pid"

# --- 2. Mouse movements ---
reset_state
add_list PictureFiles Sample1.jpg
option SwapAffect None
option Interval 30
start_show
wait_for 10 window_exists "Screen Saver Main Form"
sleep 1
for i in 1 2 3 4 5 6 7 8 9; do
  xdotool mousemove $((100 + i * 40)) $((100 + i * 30)); sleep 0.15
  xdotool mousemove $((100 + i * 40)) $((100 + i * 30)); sleep 0.05  # no change
done
sleep 1
check "nine movements (and moves in place) do not end the show" alive "$show_pid"
sleep 10.5
for i in 1 2 3; do xdotool mousemove $((600 - i * 50)) 500; sleep 0.15; done
sleep 0.5
check "after a pause of more than ten seconds the count starts again" alive "$show_pid"
for i in 4 5 6 7 8 9 10 11; do xdotool mousemove $((600 - i * 50)) 500; sleep 0.15; done
check "the tenth movement of a counting window ends the show" wait_for 10 gone "$show_pid"

# --- 3. Positions go on across runs; a sound is really played ---
reset_state
add_list PictureFiles Sample1.jpg Sample2.jpg Sample3.jpg
add_list SoundFiles Camera.wav
option SwapAffect None
# Two seconds a picture: the key below must come before the third one, also
# when reading the registry is slow on a loaded machine.
option Interval 2
cat > "$work/home/.asoundrc" <<ASOUND
pcm.!default { type file slave.pcm "null" file "$work/capture.raw" format "raw" }
ASOUND
rm -f "$work/capture.raw"
start_show
last_is() { [ "$(stored LastPicture)" = "$1" ]; }
check "first run shows position 1, then 2" wait_for 10 last_is 2
xdotool key space
wait_for 10 gone "$show_pid" || echo "# the show had not ended 5 s after the key"
# The show has ended, so the value cannot change any more: a first read
# that misses it is reported, and the value is read again for a few seconds.
sound_is() { [ "$(stored LastSound)" = "$1" ]; }
if ! sound_is 1; then
  echo "# LastSound read as '$(stored LastSound)' right after the show; the Options key then held:"
  "$WINE" reg query "$APP\\Options" 2>&1 | tr -d '\r' | sed 's/^/#   /'
  pgrep -af 'Tessaly' | sed 's/^/#   running: /'
fi
check "LastSound is stored" wait_for 3 sound_is 1
captured=$(stat -c %s "$work/capture.raw" 2>/dev/null || echo 0)
echo "# captured $captured bytes of sound (Camera.wav holds 17640)"
check "the WAV was played (captured > 8820 bytes)" test "$captured" -gt 8820
rm -f "$work/home/.asoundrc"
start_show
check "the next run goes on at position 3" wait_for 10 last_is 3
check "and wraps around to 1" wait_for 10 last_is 1
# --- 4. A second show while one runs ends at once ---
HOME=$work/home timeout 20 "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
second=$!
check "a second /s ends at once" wait_for 10 gone "$second"
check "while the first one goes on" alive "$show_pid"
xdotool key Escape
wait_for 10 gone "$show_pid"

# --- 5. A slow sweep is drawn progressively ---
reset_state
add_list PictureFiles White.bmp White.bmp
option Stretch 1
option BackColor 0
option SwapAffect "Sweep Right"
option TransSpeed 1
option Interval 1
start_show
white_shown() { shot; near "$(pixel 20 300)" "255 255 255" 8; }
wait_for 10 white_shown
partial=no; begun=""; ended=""
deadline=$(( $(date +%s) + 20 ))
while [ "$(date +%s)" -lt "$deadline" ]; do
  shot; now=$(date +%s.%N)
  left=$(pixel 20 300); right=$(pixel 1010 300)
  if near "$left" "0 0 0" 8; then
    [ -z "$begun" ] && begun=$now
    near "$right" "255 255 255" 8 && partial=yes
  elif [ -n "$begun" ]; then
    ended=$now  # the next picture is up: the sweep is over
    break
  fi
done
check "mid-sweep the left is painted over and the right still shows the picture" test "$partial" = yes
if [ -n "$begun" ] && [ -n "$ended" ]; then
  echo "# Sweep Right at speed 1 on 1024 px: about $(python3 -c "print(round($ended - $begun, 2))") s from the first painted column to the next picture"
fi
xdotool key space
wait_for 10 gone "$show_pid"

# --- 6. The system preview ---
reset_state
add_list PictureFiles Sample1.jpg
option Interval 1  # the preview looks at its window at every tick
option SwapAffect None  # so that a tick is the interval, not the interval and a transition
cp "$parent_exe" "$WINEPREFIX/drive_c/preview_parent.exe"
winpath() { echo "Z:${1//\//\\}"; }
timeout 60 "$WINE" 'C:\preview_parent.exe' "$(winpath "$work/hwnd.txt")" \
  "$(winpath "$work/children.txt")" "$(winpath "$work/destroy")" >/dev/null 2>&1 &
parent_pid=$!
check "the stand-in preview window is up" wait_for 10 test -s "$work/hwnd.txt"
hwnd=$(tr -d '\r\n' < "$work/hwnd.txt")
timeout 60 "$WINE" 'C:\windows\system32\Tessaly.scr' /p "$hwnd" >/dev/null 2>&1 &
preview_pid=$!
has_child() { [ "$(cat "$work/children.txt" 2>/dev/null | tr -d '\r\n')" -ge 1 ] 2>/dev/null; }
check "/p puts a picture box into the given window" wait_for 10 has_child
sleep 1.5
check "the preview runs while its window lives" alive "$preview_pid"
touch "$work/destroy"
# The helper notices the request within a few seconds and then writes
# "destroyed"; from there the preview must end within about a tick.
destroyed() { grep -q destroyed "$work/children.txt" 2>/dev/null; }
check "the helper destroyed its window" wait_for 10 destroyed
td=$(date +%s.%N)
check "the preview ends by itself once its window is destroyed" wait_for 20 gone "$preview_pid"
echo "# the preview ended $(python3 -c "print(round($(date +%s.%N) - $td, 2))") s after its window was destroyed (interval 1 s)"
wait "$parent_pid" 2>/dev/null

# With no window to show in, the preview ends by itself (at its first tick).
t0=$(date +%s.%N)
timeout 60 "$WINE" 'C:\windows\system32\Tessaly.scr' /p 0 >/dev/null 2>&1
rc=$?
echo "# /p 0 ended after $(python3 -c "print(round($(date +%s.%N) - $t0, 2))") s"
check "/p 0 ends by itself (rc=$rc)" [ "$rc" -eq 0 ]

finish
