#!/usr/bin/env bash
# The real Tessaly.scr /s over the whole picture library: pictures named in
# any language shown from a folder entry, and a folder tree with
# "Subfolders" on (pictures at three depths, hidden folders, a link that
# leads back up the tree) played through once per round, and off.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
scr_src=$1
samples=$2
# The names below are UTF-8: Wine reads the Unix names and this script's
# arguments in the locale's character set.
export LC_ALL=C.UTF-8

sysdir="$WINEPREFIX/drive_c/windows/system32"
cp "$scr_src" "$sysdir/Tessaly.scr"
drive="$WINEPREFIX/drive_c"
APP='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver'
work=$(mktemp -d)
show_pid=""
# Stops the show this script started, and no other program.
stop_show() {
  [ -n "$show_pid" ] && alive "$show_pid" || return 0
  kill "$show_pid" 2>/dev/null
  wait_for 10 gone "$show_pid"
}
trap 'stop_show; rm -rf "$work" "$drive/Names"* "$drive/Lib"' EXIT

reset_state() {
  stop_show
  "$WINE" reg delete 'HKCU\Software\Quillmark Inc.' /f >/dev/null 2>&1
}
start_show() {
  timeout 120 "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
  show_pid=$!
}
# The show's window, within a deadline that a first start in a fresh prefix
# on a busy machine keeps too.
check_window() { wait_for 20 window_exists "Screen Saver Main Form"; }
end_show() {
  keys_to "Screen Saver Main Form" space
  wait_for 5 gone "$show_pid" || stop_show
}
# picture_list PATH...: the stored picture list, a folder entry for each
# path ending in "\", a file entry for any other, through a .reg file in
# UTF-16 (any name gets there as it is).
picture_list() {
  python3 - "$work/list.reg" "$APP" "$@" <<'PY'
import sys
path, key, paths = sys.argv[1], sys.argv[2], sys.argv[3:]
lines = ["Windows Registry Editor Version 5.00", "",
         "[" + key.replace("HKCU", "HKEY_CURRENT_USER") + "\\PictureFiles]"]
for i, p in enumerate(paths):
    cut = p.rfind("\\") + 1
    name, folder = (p, p) if p.endswith("\\") else (p[cut:], p[:cut])
    entry = name.ljust(255) + folder.ljust(257)
    lines.append('"File%d"="%s"' % (i, entry.replace("\\", "\\\\").replace('"', '\\"')))
open(path, "w", encoding="utf-16").write("\r\n".join(lines) + "\r\n")
PY
  "$WINE" regedit /S "Z:${work//\//\\}\\list.reg" >/dev/null 2>&1
}
shot() { import -window root "$work/shot.png" 2>/dev/null; }
pixel() {
  convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:
}
sample_pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}
centre=$(sample_pixel "$samples/Sample1.jpg" 200 150)
centre_shown() { shot; near "$(pixel 512 384)" "$centre" 24; }

# --- 1. A folder holding one picture named outside the ANSI code page ---
n=0
for name in 'Łódź.jpg' '東京.jpg' 'Αθήνα.jpg' '🌅 sunrise.jpg' 'Zoë.jpg'; do
  n=$((n + 1))
  mkdir -p "$drive/Names$n"
  cp "$samples/Sample1.jpg" "$drive/Names$n/$name"
  reset_state
  picture_list "C:\\Names$n\\"
  option BackColor 255
  option SwapAffect None
  option Interval 30
  start_show
  check_window
  check "a folder holding only \"$name\": the picture is shown" wait_for 20 centre_shown
  centre_shown || echo "# the centre: $(pixel 512 384), the picture's: $centre" >&2
  end_show
done

# --- 1b. The same names as entries of their own ---
for pair in '1:Łódź.jpg' '2:東京.jpg' '4:🌅 sunrise.jpg'; do
  n=${pair%%:*} name=${pair#*:}
  reset_state
  picture_list "C:\\Names$n\\$name"
  option BackColor 255
  option SwapAffect None
  option Interval 30
  start_show
  check_window
  check "a file entry \"$name\": the picture is shown" wait_for 20 centre_shown
  centre_shown || echo "# the centre: $(pixel 512 384), the picture's: $centre" >&2
  end_show
done

# --- 2. A tree with "Subfolders" ---
lib="$drive/Lib"
mkdir -p "$lib/2019/Party" "$lib/2020" "$lib/.dot" "$lib/Hidden"
cp "$samples/Sample1.jpg" "$lib/top.jpg"
cp "$samples/Sample2.jpg" "$lib/Zoë top.jpg"
cp "$samples/Sample3.jpg" "$lib/2019/a.jpg"
cp "$samples/Sample1.jpg" "$lib/2019/Party/深い.jpg"
cp "$samples/Sample2.jpg" "$lib/2020/b.jpg"
cp "$samples/Sample3.jpg" "$lib/.dot/never.jpg"     # a dot folder is hidden under Wine
cp "$samples/Sample3.jpg" "$lib/Hidden/never.jpg"
"$WINE" cmd /c attrib +h 'C:\Lib\Hidden' >/dev/null 2>&1
ln -s ../.. "$lib/2019/Party/loop"                  # back to the top: a loop
ln -s ../2019 "$lib/2020/again"                     # a second way to a folder walked already

# Runs the show at one picture a second and notes the stored positions
# until the position has come back to 1 after its highest (one round).
round_length() {
  local seen="" last="" high=0 deadline=$(( $(date +%s) + 40 ))
  start_show
  while [ "$(date +%s)" -lt "$deadline" ]; do
    last=$(stored LastPicture)
    if [ -n "$last" ] && [ "$last" != "${seen##* }" ]; then
      seen="$seen $last"
      [ "$last" -gt "$high" ] && high=$last
      if [ "$last" = 1 ] && [ "$high" -gt 1 ]; then break; fi
    fi
    sleep 0.1
  done
  alive "$show_pid" && echo "# positions seen:$seen" >&2
  end_show
  echo "$high"
}
reset_state
picture_list 'C:\Lib\'
option SwapAffect None
option Interval 1
option Subfolders 1
check "with Subfolders the round is the five pictures of the tree, each once, none hidden, no loop" \
  test "$(round_length)" = 5
reset_state
picture_list 'C:\Lib\'
option SwapAffect None
option Interval 1
option Subfolders 0
check "without Subfolders the round is the two pictures of the top folder" test "$(round_length)" = 2
finish
