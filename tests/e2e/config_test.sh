#!/usr/bin/env bash
# Drives the configuration window (/c) of the real Tessaly.scr: the preview
# playing in the monitor picture, OK storing the lists, the play-list keys,
# a tool tip on hover, the help opening in the browser, and the window that was in
# the foreground disabled while the configuration is open.
#
#   config_test.sh <Tessaly.scr> <samples folder> <foreground_window.exe> <window_info.exe> <recorder.exe>
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
scr_src=$1
samples=$2
foreground_src=$3
info_src=$4
browser_src=$5

c=$WINEPREFIX/drive_c
sysdir="$c/windows/system32"
cp "$scr_src" "$sysdir/Tessaly.scr"
cp "$(dirname "$scr_src")/TSCSS.htm" "$sysdir/TSCSS.htm"  # the help page goes beside the program
cp "$foreground_src" "$c/foreground_window.exe"
cp "$info_src" "$c/window_info.exe"
cp "$browser_src" "$c/browser.exe"  # records how it was started, in C:\record_browser.txt
pics="$c/Pics"
lists="$c/Lists"
mkdir -p "$pics" "$lists"
cp "$samples"/*.jpg "$samples"/*.wav "$pics/"
APP='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver'
TITLE="Screen Saver Properties"
work=$(mktemp -d)
mkdir -p "$work/home"
# Sounds go nowhere.
echo 'pcm.!default { type null }' > "$work/home/.asoundrc"
started=()
browser_registered=""
cleanup() {
  # Only what this script started and is still running (a process id may
  # have been given to another program since).
  for p in "${started[@]}"; do
    [ -r "/proc/$p/cmdline" ] && tr '\0' ' ' < "/proc/$p/cmdline" | grep -qE 'Tessaly\.scr|foreground_window' &&
      kill "$p" 2>/dev/null
  done
  touch "$c/foreground.stop"
  "$WINE" reg delete 'HKCU\Software\Quillmark Inc.' /f >/dev/null 2>&1
  if [ -n "$browser_registered" ]; then  # the browser's entries as they were
    for scheme in http https; do
      "$WINE" reg delete "HKCR\\$scheme" /f >/dev/null 2>&1
      [ -f "$work/$scheme.reg" ] && "$WINE" reg import "$work/$scheme.reg" >/dev/null 2>&1
    done
  fi
  rm -rf "$work" "$lists" "$c/foreground_window.exe" "$c/window_info.exe" "$c"/foreground.* "$c/out.reg" \
    "$c/browser.exe" "$c/record_browser.txt"
}
trap cleanup EXIT

reset_state() {
  "$WINE" reg delete 'HKCU\Software\Quillmark Inc.' /f >/dev/null 2>&1
  rm -f "$lists"/*
}

# value SECTION NAME: the stored text, "<missing>" when there is none. (Read
# from an export: "reg query" shows an empty REG_SZ of zero bytes as
# whatever its buffer held.)
value() {
  rm -f "$c/out.reg"
  "$WINE" reg export "$APP" 'C:\out.reg' /y >/dev/null 2>&1 || { printf '<missing>'; return; }
  python3 - "$c/out.reg" "$1" "$2" <<'PY'
import re, sys
data = open(sys.argv[1], "rb").read()
text = data.decode("utf-16") if data[:2] == b"\xff\xfe" else data.decode("latin-1")
section, name, cur = sys.argv[2], sys.argv[3], None
for line in text.splitlines():
    if line.startswith("["):
        cur = line.strip("[]").split("\\")[-1]
    elif cur == section and line.startswith('"' + name + '"='):
        raw = line[len(name) + 3:]
        if raw.startswith('"'):
            print(re.sub(r'\\(.)', r'\1', raw[1:-1]), end="")
        elif raw.startswith("hex(1):") or raw.startswith("hex(0):"):
            print(bytes.fromhex(raw[7:].replace(",", "")).decode("utf-16-le").rstrip("\0"), end="")
        sys.exit(0)
print("<missing>", end="")
PY
}

# play_list NAME...: the file the program writes for these pictures.
play_list() {
  for name in "$@"; do printf 'P:%s\r\n' "$(entry "$name")"; done
}

start_config() {  # starts /c in the background; $config_pid is its process
  HOME=$work/home "$WINE" 'C:\windows\system32\Tessaly.scr' /c >/dev/null 2>&1 &
  config_pid=$!
  started+=("$config_pid")
}
same() {  # same GOT EXPECTED: equal, or both shown
  [ "$1" = "$2" ] && return 0
  printf '#   got      [%s]\n#   expected [%s]\n' "$1" "$2" | sed 's/  \{4,\}/ .../g'
  return 1
}
config_window() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1; }
config_shown() { [ -n "$(config_window)" ]; }

# Gives the window the keyboard (there is no window manager) and presses
# keys, again every few seconds until the condition holds or time is up.
press_until() {  # press_until seconds keys condition...
  local deadline=$(( $(date +%s) + $1 )) keys=$2; shift 2
  while :; do
    xdotool windowfocus "$(config_window)" >/dev/null 2>&1
    xdotool key $keys >/dev/null 2>&1
    wait_for 3 "$@" && return 0
    [ "$(date +%s)" -ge "$deadline" ] && return 1
  done
}

# rect ID: the screen rectangle of a control of the window, "l t r b";
# caption ID: its text.
rect() { "$WINE" 'C:\window_info.exe' "$TITLE" "$1" 2>/dev/null | tr -d '\r' | cut -f1; }
caption() { "$WINE" 'C:\window_info.exe' "$TITLE" "$1" 2>/dev/null | tr -d '\r' | cut -f2; }
caption_is() { [ "$(caption "$1")" = "$2" ]; }
FRAME=411  # the play list's frame
windows() { "$WINE" 'C:\window_info.exe' 2>/dev/null | tr -d '\r'; }

shot() { import -window root "$work/$1.png" 2>/dev/null; }
# preview SHOT: the preview area (153 x 114 at 18, 18 from the monitor
# picture's top-left) cut from a shot.
preview() { convert "$work/$1.png" -crop "153x114+$((mx + 18))+$((my + 18))" +repage "$work/$1-preview.png"; }
differing() { compare -metric AE "$work/$1-preview.png" "$work/$2-preview.png" null: 2>&1 | cut -d' ' -f1; }

# The monitor picture is on the screen where the window placed it: every
# pixel of its frame (the mask is black there) is the picture's own.
monitor_shown() {
  python3 - "$work/$1.png" "$here/../../src/config/art/monitor.bmp" "$here/../../src/config/art/monitor_mask.bmp" \
    "$mx" "$my" <<'PY'
import subprocess, sys
shot, colour, mask, x0, y0 = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
def bmp(path):  # 24-bit bottom-up BMP: (width, height, pixel(x, y))
    d = open(path, "rb").read()
    off, w, h = int.from_bytes(d[10:14], "little"), int.from_bytes(d[18:22], "little"), int.from_bytes(d[22:26], "little")
    stride = (w * 3 + 3) & ~3
    return w, h, lambda x, y: tuple(d[off + (h - 1 - y) * stride + x * 3 + i] for i in (2, 1, 0))
w, h, col = bmp(colour)
_, _, msk = bmp(mask)
ppm = subprocess.run(["convert", shot, "ppm:-"], capture_output=True).stdout
parts = ppm.split(b"\n", 3)
sw = int(parts[1].split()[0])
pix = parts[3]
def screen(x, y):
    i = (y * sw + x) * 3
    return tuple(pix[i:i + 3])
checked = bad = 0
for y in range(0, h, 3):
    for x in range(0, w, 3):
        if msk(x, y) != (0, 0, 0) or (18 <= x < 171 and 18 <= y < 132):
            continue
        checked += 1
        bad += screen(x0 + x, y0 + y) != col(x, y)
print("# %d frame pixels compared, %d differ" % (checked, bad))
sys.exit(0 if checked > 100 and bad == 0 else 1)
PY
}

# --- 1. The preview plays in the monitor picture; Enter is OK -----------------
reset_state
add_list PictureFiles Sample1.jpg Missing.jpg Sample2.jpg Sample3.jpg
add_list SoundFiles Camera.wav
option SwapAffect None
option Stretch 1
option Interval 1
start_config
check "/c shows \"$TITLE\"" wait_for 30 config_shown
read -r mx my _ _ <<<"$(rect 410)"  # the monitor picture (Image1)
check "the monitor picture's place is known ($mx, $my)" test -n "$my"
sleep 1
shot one
check "the monitor picture is drawn there" monitor_shown one
preview one
# Each picture fills the preview: its middle is the middle of one of the samples.
middle() { convert "$1" -gravity center -crop 1x1+0+0 +repage -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info:; }
sample_middles=()
for s in Sample1 Sample2 Sample3; do sample_middles+=("$(middle "$pics/$s.jpg")"); done
middle_is_a_sample() {
  local got m
  got=$(middle "$work/$1-preview.png")
  for m in "${sample_middles[@]}"; do near "$got" "$m" 40 && return 0; done
  echo "#   the preview's middle is $got"
  return 1
}
check "the preview shows a sample picture" middle_is_a_sample one
changed=0
next_picture() { shot two; preview two; changed=$(differing one two); [ "$changed" -gt 2000 ]; }
check "the preview changes to the next picture" wait_for 15 next_picture
echo "# $changed of 17442 preview pixels changed"
check "the next one is a sample picture too" middle_is_a_sample two
no_message() { [ -z "$(windows | grep -v "$TITLE" | grep '^#32770')" ]; }
check "no message box came up (the missing file is left out quietly)" no_message
press_until 20 Return gone "$config_pid"
check "Enter (OK) ends the program" gone "$config_pid"
check "OK stored the pictures without the missing one" \
  same "$(value PictureFiles File0)|$(value PictureFiles File1)|$(value PictureFiles File2)|$(value PictureFiles File3)" \
       "$(entry Sample1.jpg)|$(entry Sample2.jpg)|$(entry Sample3.jpg)|<missing>"
check "and the sounds" same "$(value SoundFiles File0)" "$(entry Camera.wav)"
check "and an empty current play list" same "$(value Options PlayList)" ""

# --- 2. Ctrl+S, Ctrl+O and Ctrl+N from the window ------------------------------
reset_state
add_list PictureFiles Sample1.jpg Sample2.jpg
option SwapAffect None
printf 'an older play list\r\n' > "$lists/Holiday.tsl"
play_list Sample3.jpg > "$lists/Beach.tsl"
option PlayList 'C:\Lists\Holiday.tsl'
start_config
wait_for 30 config_shown
check "the frame names the current play list" caption_is $FRAME "Play List - [Holiday]"
rewritten() { cmp -s "$lists/Holiday.tsl" <(play_list Sample1.jpg Sample2.jpg); }
press_until 20 ctrl+s rewritten
check "Ctrl+S rewrites the current play list" rewritten
open_dialog() { xdotool search --onlyvisible --name '^Select Play List$' 2>/dev/null | head -n 1; }
open_dialog_shown() { [ -n "$(open_dialog)" ]; }
# in_dialog TITLE TEXT CONDITION...: types TEXT into the name box of the file
# dialog TITLE (a click puts the caret there) and presses Enter, again until
# the condition holds.
in_dialog() {
  local title=$1 text=$2 deadline=$(( $(date +%s) + 30 )) l t r b; shift 2
  while :; do
    read -r l t r b <<<"$("$WINE" 'C:\window_info.exe' "$title" 1148 2>/dev/null | tr -d '\r' | cut -f1)"
    if [ -n "$b" ]; then
      xdotool windowfocus "$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)" >/dev/null 2>&1
      xdotool mousemove $(( r - 30 )) $(( (t + b) / 2 )) click 1
      xdotool key End
      xdotool key --repeat 60 --delay 5 BackSpace
      xdotool type --delay 20 "$text"
      xdotool key Return
    fi
    wait_for 4 "$@" && return 0
    [ "$(date +%s)" -ge "$deadline" ] && return 1
  done
}
open_play_list() {
  local base=${1##*\\}
  in_dialog 'Select Play List' "$1" caption_is $FRAME "Play List - [${base%.*}]"
}
press_until 20 ctrl+o open_dialog_shown
check "Ctrl+O shows \"Select Play List\"" open_dialog_shown
open_play_list 'C:\Lists\Beach.tsl'
check "the play list typed into it is opened" caption_is $FRAME "Play List - [Beach]"
press_until 20 ctrl+n caption_is $FRAME "Play List"
check "Ctrl+N clears the lists and the current play list" caption_is $FRAME "Play List"
press_until 20 Return gone "$config_pid"
check "OK then stores the empty lists" same "$(value PictureFiles File0)|$(value Options PlayList)" "<missing>|"
check "the play-list files are as they were" cmp -s "$lists/Beach.tsl" <(play_list Sample3.jpg)
start_config
wait_for 30 config_shown
press_until 20 ctrl+o open_dialog_shown
check "Ctrl+O again, and a play list opened" open_play_list 'C:\Lists\Beach.tsl'
press_until 20 Return gone "$config_pid"
check "OK stores an opened play list" same "$(value Options PlayList)" 'C:\Lists\Beach.tsl'
check "and its pictures" same "$(value PictureFiles File0)|$(value PictureFiles File1)" "$(entry Sample3.jpg)|<missing>"

# --- 2b. A play list made in the window plays in /s --------------------------
# A picture added through Play List, Add Files..., the list saved with
# File, Save Play List As..., cleared, opened again and confirmed with OK:
# the full-screen show then plays it.
reset_state
option SwapAffect None
option Interval 60
start_config
wait_for 30 config_shown
dialog_shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
dialog_gone() { ! dialog_shown "$1"; }
press_until 20 "F10 Right Return f" dialog_shown "Select One or More Files to Add"
check "Play List, Add Files... shows its file dialog" dialog_shown "Select One or More Files to Add"
in_dialog "Select One or More Files to Add" 'C:\Pics\Sample2.jpg' dialog_gone "Select One or More Files to Add"
press_until 20 "F10 Return a" dialog_shown "Save Play List"
check "File, Save Play List As... shows its file dialog" dialog_shown "Save Play List"
in_dialog "Save Play List" 'C:\Lists\Made.tsl' caption_is $FRAME "Play List - [Made]"
check "the play list is saved under the name typed" cmp -s "$lists/Made.tsl" <(play_list Sample2.jpg)
press_until 20 ctrl+n caption_is $FRAME "Play List"
check "Ctrl+N then clears the lists without a question" caption_is $FRAME "Play List"
press_until 20 ctrl+o open_dialog_shown
check "and Ctrl+O opens the saved play list again" open_play_list 'C:\Lists\Made.tsl'
press_until 20 Return gone "$config_pid"
check "OK stores it" same "$(value PictureFiles File0)|$(value Options PlayList)" "$(entry Sample2.jpg)|C:\Lists\Made.tsl"
HOME=$work/home "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
show_pid=$!
started+=("$show_pid")
sample2=$(middle "$pics/Sample2.jpg")
shows_sample2() { shot show; near "$(middle "$work/show.png")" "$sample2" 40; }
check "/s then shows the play list's picture" wait_for 30 shows_sample2
show_window() { xdotool search --onlyvisible --name '^Screen Saver Main Form$' 2>/dev/null | head -n 1; }
until_gone() {  # presses Escape on the show until it ends
  local deadline=$(( $(date +%s) + 20 ))
  while alive "$show_pid" && [ "$(date +%s)" -lt "$deadline" ]; do
    xdotool windowfocus "$(show_window)" key Escape >/dev/null 2>&1
    wait_for 2 gone "$show_pid"
  done
  gone "$show_pid"
}
check "a key ends the show" until_gone

# --- 3. A tool tip on hover ----------------------------------------------------
reset_state
start_config
wait_for 30 config_shown
button_known() { read -r l t r b <<<"$(rect 416)"; [ -n "$b" ]; }  # Add File(s)...
wait_for 10 button_known
tip_shown() { windows | grep -q '^tooltips_class32'; }
# The mouse comes from outside the button in small steps and rests on it.
hover() {
  local x=$(( (l + r) / 2 )) y=$(( (t + b) / 2 )) i
  for i in 40 30 20 10 0; do xdotool mousemove $(( x - i )) $(( y + i * 3 / 4 )); sleep 0.05; done
  wait_for 4 tip_shown
}
no_tip() { ! tip_shown; }
check "no tool tip before the mouse comes" no_tip
check "resting the mouse on \"Add File(s)...\" shows a tool tip" wait_for 30 hover
tip_shown || echo "#   visible windows: $(windows | cut -f1 | paste -sd,)"
shot tip
echo "# tool tip windows: $(windows | grep -c '^tooltips_class32')"
xdotool mousemove 5 5
press_until 20 Escape gone "$config_pid"
check "Esc (Cancel) ends the program" gone "$config_pid"

# --- 3b. Help --------------------------------------------------------------------
# Help, Contents opens the page installed beside the program in the browser
# registered for web addresses (a stand-in that records how it was started),
# at the contents. The window is then closed by a click on Cancel.
browser_registered=yes
for scheme in http https; do
  "$WINE" reg export "HKCR\\$scheme" "$work/$scheme.reg" /y >/dev/null 2>&1 || rm -f "$work/$scheme.reg"
  "$WINE" reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d '"C:\browser.exe" "%1"' /f >/dev/null 2>&1
done
reset_state
rm -f "$c/record_browser.txt"
start_config
wait_for 30 config_shown
browser_ran() { [ -s "$c/record_browser.txt" ]; }
press_until 20 "alt+h c" browser_ran
check "Help, Contents starts the browser" browser_ran
# Wine names the program's folder as it was started (C:\windows\system32),
# whatever the letter case.
check "with the page beside the program, at its contents" \
  same "$(tr -d '\r' < "$c/record_browser.txt" 2>/dev/null | tr '[:upper:]' '[:lower:]')" \
       "$(printf 'ran\t"c:\\browser.exe" "file:///c:/windows/system32/tscss.htm#contents"' | tr '[:upper:]' '[:lower:]')"
check "once" same "$(grep -c . "$c/record_browser.txt" 2>/dev/null)" 1
check "and the window stays" alive "$config_pid"
cancel_clicked() {
  local l t r b
  read -r l t r b <<<"$(rect 2)"  # Cancel
  [ -n "$b" ] && xdotool mousemove $(( (l + r) / 2 )) $(( (t + b) / 2 )) click 1
  wait_for 3 gone "$config_pid"
}
wait_for 20 cancel_clicked
check "a click on Cancel then ends the program" gone "$config_pid"
alive "$config_pid" && kill "$config_pid"  # not left to stand in the next case's way

# --- 4. The window in the foreground is disabled while /c runs -----------------
reset_state
rm -f "$c/foreground.log" "$c/foreground.stop"
"$WINE" 'C:\foreground_window.exe' 'C:\foreground.log' 'C:\foreground.stop' >/dev/null 2>&1 &
fg_pid=$!
started+=("$fg_pid")
fg_state() { tail -n 1 "$c/foreground.log" 2>/dev/null | tr -d '\r'; }
fg_is() { [ "$(fg_state)" = "$1" ]; }
check "the stand-in \"Display Properties\" is up and in the foreground" wait_for 20 fg_is "enabled foreground"

start_config
check "/c shows its window" wait_for 30 config_shown
disabled() { fg_is disabled || fg_is "disabled foreground"; }
check "the foreground window is disabled while it is open" wait_for 10 disabled
sleep 1
check "and stays disabled" disabled
press_until 20 Escape gone "$config_pid"
check "Esc ends the configuration" gone "$config_pid"
check "the foreground window is enabled again and brought forward" wait_for 10 fg_is "enabled foreground"
echo "# its states: $(tr -d '\r' < "$c/foreground.log" | paste -sd,)"
touch "$c/foreground.stop"
wait_for 10 gone "$fg_pid"

finish
