#!/usr/bin/env bash
# A key pressed in the middle of a transition ends the full-screen show at
# once, for each of the nine effects: the screen is a white picture, the
# effect paints it over with red at the slowest speed, and a key goes in as
# soon as some of the red shows. The show must end with the effect where it
# was (the red does not grow on to cover the screen) and without showing or
# storing the next picture. The same for the cross-fade, and a key while a
# picture pans and zooms.
#
# Usage: keys_test.sh TESSALY_SCR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
scr_src=$1

cp "$scr_src" "$WINEPREFIX/drive_c/windows/system32/Tessaly.scr"
pics="$WINEPREFIX/drive_c/Pics"
mkdir -p "$pics"
convert -size 1024x768 xc:white -type TrueColor "BMP3:$pics/White.bmp"
convert -size 1024x768 xc:blue -type TrueColor "BMP3:$pics/Blue.bmp"
APP='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver'
work=$(mktemp -d)
show_pid=""
trap '[ -n "$show_pid" ] && kill "$show_pid" 2>/dev/null; rm -rf "$work"' EXIT

shot() { import -window root "$work/shot.png" 2>/dev/null; }
# The share of the screen (0 to 1) painted in the background colour, red.
red_share() {
  convert "$work/shot.png" -fuzz 12% -fill black -opaque red -fill white +opaque black \
    -format '%[fx:1-mean]' info: 2>/dev/null
}
above() { python3 -c 'import sys; sys.exit(0 if float(sys.argv[1]) > float(sys.argv[2]) else 1)' "$1" "$2"; }
show_window() { xdotool search --onlyvisible --name '^Screen Saver Main Form$' >/dev/null 2>&1; }

for effect in "Sweep Right" "Sweep Left" "Sweep Down" "Sweep Up" "Spotlight" "Bubbles" \
              "Horizontal Sandwich" "Vertical Sandwich" "Shrinking Square"; do
  "$WINE" reg delete "$APP" /f >/dev/null 2>&1
  entry_in() { printf '%-255s%-257s' "$1" 'C:\Pics\'; }
  "$WINE" reg add "$APP\\PictureFiles" /v File0 /d "$(entry_in White.bmp)" /f >/dev/null
  "$WINE" reg add "$APP\\PictureFiles" /v File1 /d "$(entry_in Blue.bmp)" /f >/dev/null
  for kv in "SwapAffect=$effect" TransSpeed=1 Interval=2 BackColor=255 Stretch=0 ShowFileName=0 ShowFrame=0; do
    option "${kv%%=*}" "${kv#*=}"
  done

  timeout 120 "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
  show_pid=$!
  white_shown() { shot; [ "$(red_share)" = 0 ] && near "$(convert "$work/shot.png" -format '%[fx:int(255*p{512,384}.r)] %[fx:int(255*p{512,384}.g)] %[fx:int(255*p{512,384}.b)]' info:)" "255 255 255" 8; }
  if ! wait_for 20 white_shown; then
    check "$effect: the white picture is shown first" false
    kill "$show_pid" 2>/dev/null; wait "$show_pid" 2>/dev/null; continue
  fi
  # The effect has begun once some red shows; the key goes in then.
  begun() { shot; at_key=$(red_share); above "$at_key" 0.002; }
  if ! wait_for 20 begun; then
    check "$effect: the effect begins" false
    kill "$show_pid" 2>/dev/null; wait "$show_pid" 2>/dev/null; continue
  fi
  xdotool key space
  # Until the window is gone, the share of red it shows is read again; the
  # effect must not have gone on after the key.
  last=$at_key
  while show_window && alive "$show_pid"; do
    shot
    share=$(red_share)
    show_window && [ "$share" != 0 ] && last=$share
  done
  check "$effect: a key mid-effect ends the show" wait_for 20 gone "$show_pid"
  echo "# $effect: $at_key of the screen red at the key, $last when the window went"
  check "$effect: the effect stopped where the key found it" \
    python3 -c "import sys; sys.exit(0 if $last - $at_key < 0.25 and $last < 0.9 else 1)"
  check "$effect: the next picture was neither shown nor stored" [ "$(stored LastPicture)" = 1 ]
  show_pid=""
done

# The cross-fade: white dissolves into blue over 4 s (speed 1) with no red
# background between; a key in the middle ends the show there.
convert -size 1024x768 pattern:checkerboard -type TrueColor "BMP3:$pics/Check.bmp"
centre() { convert "$work/shot.png" -format '%[fx:int(255*p{512,384}.r)] %[fx:int(255*p{512,384}.g)] %[fx:int(255*p{512,384}.b)]' info:; }
seed() {  # seed KEY=VALUE... over two pictures, White and Blue
  "$WINE" reg delete "$APP" /f >/dev/null 2>&1
  "$WINE" reg add "$APP\\PictureFiles" /v File0 /d "$(entry_in "$1")" /f >/dev/null
  "$WINE" reg add "$APP\\PictureFiles" /v File1 /d "$(entry_in Blue.bmp)" /f >/dev/null
  shift
  for kv in TransSpeed=1 Interval=2 BackColor=255 Stretch=0 ShowFileName=0 ShowFrame=0 "$@"; do
    option "${kv%%=*}" "${kv#*=}"
  done
}
seed White.bmp "SwapAffect=Cross Fade" PanZoom=0
timeout 120 "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
show_pid=$!
if wait_for 20 white_shown; then
  # Fading once the white has lost a little of its red and green.
  fading() { shot; read -r r g b <<<"$(centre)"; [ "$r" -lt 235 ] && [ "$r" -gt 60 ] && [ "$b" -gt 200 ]; }
  if wait_for 20 fading; then
    at_key=$r
    check "Cross Fade: no background colour shows during the fade" [ "$(red_share)" = 0 ]
    xdotool key space
    last=$at_key
    while show_window && alive "$show_pid"; do
      shot
      read -r r g b <<<"$(centre)"
      show_window && last=$r
    done
    check "Cross Fade: a key mid-fade ends the show" wait_for 20 gone "$show_pid"
    echo "# Cross Fade: red channel $at_key at the key, $last when the window went"
    check "Cross Fade: the fade stopped where the key found it" [ $((at_key - last)) -lt 80 ]
    check "Cross Fade: the next picture was not stored" [ "$(stored LastPicture)" = 1 ]
  else
    check "Cross Fade: the fade begins" false
  fi
else
  check "Cross Fade: the white picture is shown first" false
fi
kill "$show_pid" 2>/dev/null; wait "$show_pid" 2>/dev/null; show_pid=""

# Pan and zoom: a checkerboard moves while it is shown; a key ends the show.
seed Check.bmp SwapAffect=None PanZoom=1 Stretch=1 Interval=30
"$WINE" reg delete "$APP\\PictureFiles" /v File1 /f >/dev/null 2>&1
timeout 120 "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
show_pid=$!
moving() {
  shot; cp "$work/shot.png" "$work/before.png"; sleep 0.3; shot
  [ "$(compare -metric AE "$work/before.png" "$work/shot.png" null: 2>&1)" != 0 ] && show_window
}
shown_first() { [ "$(stored LastPicture)" = 1 ]; }
if wait_for 30 shown_first && wait_for 30 moving; then
  xdotool key space
  check "Pan and Zoom: a key while the picture moves ends the show" wait_for 20 gone "$show_pid"
else
  check "Pan and Zoom: the picture moves" false
fi
kill "$show_pid" 2>/dev/null; wait "$show_pid" 2>/dev/null; show_pid=""

"$WINE" reg delete "$APP" /f >/dev/null 2>&1
finish
