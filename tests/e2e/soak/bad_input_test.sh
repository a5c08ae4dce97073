#!/usr/bin/env bash
# Runs the full-screen show (Tessaly.scr /s) over damaged pictures (of every
# format, and JPEGs whose Exif block alone is damaged, which are shown), a bad
# sound, options of the wrong type or length and bad stored positions, and
# checks that each is skipped quietly: the process and its window stay, the
# stored position advances to valid positions only, no other window (no
# message box) appears, the good pictures of the same list are shown, and
# nothing but the positions is written.
#
# Usage: bad_input_test.sh TESSALY_SCR TESSALY_SOAK_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../lib.sh"
scr_src=$1
probe_src=$2

sysdir="$WINEPREFIX/drive_c/windows/system32"
cp "$scr_src" "$sysdir/Tessaly.scr"
cp "$probe_src" "$WINEPREFIX/drive_c/tessaly_soak.exe"
KEY='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver'
pics="$WINEPREFIX/drive_c/Bad Input"
wpics='C:\Bad Input\'
work=$(mktemp -d)
show_pid=""

cleanup() {
  [ -n "$show_pid" ] && kill "$show_pid" 2>/dev/null
  "$WINE" reg delete "$KEY" /f >/dev/null 2>&1
  rm -rf "$work" "$pics" "$WINEPREFIX/drive_c/seed.reg" "$WINEPREFIX/drive_c/tessaly_soak.exe"
}
trap cleanup EXIT; [ -n "${KEEP:-}" ] && trap - EXIT

rm -rf "$pics"
"$WINE" 'C:\tessaly_soak.exe' pictures "$wpics" >/dev/null 2>&1
check "the good pictures were written" test -s "$pics/good.emf" -a -s "$pics/plain.wmf"

# The damaged files, made from the good ones.
python3 - "$pics" <<'PY'
import os, shutil, sys
d = sys.argv[1]
good = {e: open(os.path.join(d, "good." + e), "rb").read() for e in ("bmp", "gif", "jpg", "wmf", "emf", "png", "tif")}
for e, data in good.items():
    open(os.path.join(d, "zero." + e), "wb").close()
    open(os.path.join(d, "trunc." + e), "wb").write(data[:len(data) // 2])
open(os.path.join(d, "text.jpg"), "w").write("This is a text file, not a picture.\n" * 20)
# A JPEG whose frame header claims 65535 x 65535.
j = bytearray(good["jpg"])
i = 2
while i < len(j):
    marker, length = j[i + 1], (j[i + 2] << 8) | j[i + 3]
    if marker in (0xC0, 0xC1, 0xC2):
        j[i + 5:i + 9] = b"\xff\xff\xff\xff"
        break
    i += 2 + length
open(os.path.join(d, "huge.jpg"), "wb").write(j)
# A PNG whose header claims 65535 x 65535 (the header's CRC made to match).
import struct, zlib
p = bytearray(good["png"])
p[16:24] = struct.pack(">II", 65535, 65535)
p[29:33] = struct.pack(">I", zlib.crc32(bytes(p[12:29])) & 0xFFFFFFFF)
open(os.path.join(d, "huge.png"), "wb").write(p)
# JPEGs whose Exif block alone is damaged: shown as if it had none. The
# directory cut off inside the block; the directory offset outside the file;
# an orientation of 99; a byte order that is neither.
def exif(tiff):
    body = b"Exif\x00\x00" + tiff
    return good["jpg"][:2] + b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body + good["jpg"][2:]
entry = struct.pack("<HHIHH", 274, 3, 1, 6, 0)
open(os.path.join(d, "exifcut.jpg"), "wb").write(exif(b"II*\x00" + struct.pack("<IH", 8, 3) + entry))
open(os.path.join(d, "exifout.jpg"), "wb").write(exif(b"II*\x00" + struct.pack("<IH", 0x7FFFFFF0, 1) + entry))
open(os.path.join(d, "exif99.jpg"), "wb").write(
    exif(b"II*\x00" + struct.pack("<IH", 8, 1) + struct.pack("<HHIHH", 274, 3, 1, 99, 0) + b"\0" * 4))
open(os.path.join(d, "exifbom.jpg"), "wb").write(exif(b"XX*\x00" + struct.pack("<IH", 8, 1) + entry))
# An Exif segment whose length runs past the end of the file: the JPEG itself
# is broken.
open(os.path.join(d, "exiflong.jpg"), "wb").write(good["jpg"][:2] + b"\xff\xe1\xff\xf0Exif\x00\x00II*\x00")
# A GIF whose one frame is broken: an impossible code size and garbage codes.
g = bytearray(good["gif"])
at = g.index(b",", 13)            # image descriptor after the colour table
g[at + 10] = 0x0F                 # LZW minimum code size (2..8 are valid)
for k in range(at + 12, min(len(g) - 2, at + 400)):
    g[k] = (k * 151) & 0xFF
open(os.path.join(d, "broken.gif"), "wb").write(g)
shutil.copy(os.path.join(d, "good.bmp"), os.path.join(d, "gone.bmp"))
os.makedirs(os.path.join(d, "Vanishing"), exist_ok=True)
shutil.copy(os.path.join(d, "good.gif"), os.path.join(d, "Vanishing", "v.gif"))
open(os.path.join(d, "notwav.wav"), "w").write("RIFF? no, this is text.\n" * 10)
PY

# seed FILE: writes the registry from a list of lines "Section|Name|kind|data"
# (kind: sz, dword, binary, entry = a 512-character list entry of data).
seed() {
  "$WINE" reg delete "$KEY" /f >/dev/null 2>&1
  python3 - "$1" "$WINEPREFIX/drive_c/seed.reg" <<'PY'
import sys
key = r"HKEY_CURRENT_USER\Software\Quillmark Inc.\Tessaly Customizable Screen Saver"
sections = {}
for line in open(sys.argv[1], encoding="utf-8").read().splitlines():
    if not line:
        continue
    section, name, kind, data = line.split("|", 3)
    if kind == "entry":
        folder, _, file = data.rpartition("\\")
        folder += "\\"
        if file == "":  # a folder entry has the folder in both places
            file = folder
        e = [" "] * 512
        e[255:255 + len(folder)] = folder
        e = e[:512]
        e[0:len(file)] = file[:255]
        value = '"' + "".join(e).replace("\\", "\\\\") + '"'
    elif kind == "sz":
        value = '"' + data.replace("\\", "\\\\").replace('"', '\\"') + '"'
    elif kind == "dword":
        value = "dword:%08x" % int(data)
    elif kind == "binary":
        value = "hex:" + data
    sections.setdefault(section, []).append('"%s"=%s' % (name, value))
out = ["Windows Registry Editor Version 5.00", ""]
for section, values in sections.items():
    out += ["[%s\\%s]" % (key, section)] + values + [""]
open(sys.argv[2], "w", encoding="utf-16").write("\r\n".join(out) + "\r\n")
PY
  "$WINE" regedit /S 'C:\seed.reg' >/dev/null 2>&1
}

# Exports a section to a text file (values sorted, the stored positions left
# out), for comparing before and after a show.
snapshot() {  # snapshot SECTION OUT
  rm -f "$WINEPREFIX/drive_c/out.reg"
  "$WINE" reg export "$KEY\\$1" 'C:\out.reg' /y >/dev/null 2>&1
  python3 -c 'import sys
d = open(sys.argv[1], "rb").read()
t = d.decode("utf-16") if d[:2] == b"\xff\xfe" else d.decode("latin-1")
lines = [l for l in t.replace("\\\r\n  ", "").splitlines() if l.startswith("\"") and not l.startswith(("\"LastPicture\"", "\"LastSound\""))]
print("\n".join(sorted(lines)))' "$WINEPREFIX/drive_c/out.reg" > "$2" 2>/dev/null || : > "$2"
}

stored() {  # stored NAME: the stored text of an option, <missing> when absent
  "$WINE" reg query "$KEY\\Options" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^  /, ""); print; found = 1 } END { if (!found) print "<missing>" }'
}

start_show() {
  "$WINE" 'C:\windows\system32\Tessaly.scr' /s >/dev/null 2>&1 &
  show_pid=$!
}

stop_show() {
  kill "$show_pid" 2>/dev/null
  wait_for 20 bash -c "! kill -0 $show_pid 2>/dev/null"
  show_pid=""
  # The next show must not find this one's window (it would end at once).
  wait_for 10 bash -c '! xdotool search --name "^Screen Saver Main Form$" >/dev/null 2>&1'
}

# watch SECONDS CHANGES OUT: records the show until LastPicture has changed
# CHANGES times.
watch() {
  "$WINE" 'C:\tessaly_soak.exe' watch "$1" "$2" </dev/null >"$3" 2>/dev/null
}

# The checks every run makes on a watch record.
common_checks() {  # common_checks NAME RECORD
  check "$1: no other window appeared" bash -c "! grep -q '^window ' '$2'"
  check "$1: the show window stayed" grep -q '^mainform stayed' "$2"
  check "$1: the show process is alive" kill -0 "$show_pid"
}

# colour_near RRGGBB WANT: within 48 per channel.
colour_near() {
  python3 -c 'import sys
a, b = sys.argv[1], sys.argv[2]
sys.exit(0 if all(abs(int(a[i:i+2], 16) - int(b[i:i+2], 16)) <= 48 for i in (0, 2, 4)) else 1)' "$1" "$2"
}

RED=FF0000 GREEN=00FF00 BLUE=0000FF YELLOW=FFFF00 MAGENTA=FF00FF CYAN=00FFFF ORANGE=FF8000 BLACK=000000

options() {  # the options every run starts from; more lines may follow
  cat <<EOF
Options|Interval|sz|$1
Options|SwapAffect|sz|None
Options|TransSpeed|sz|20
Options|Stretch|sz|0
Options|ShowFileName|sz|0
Options|ShowFrame|sz|0
Options|BackColor|sz|0
Options|PicRandom|sz|0
Options|SoundRandom|sz|0
Options|ResetPicList|sz|0
Options|ResetSoundList|sz|0
EOF
}

# --- damaged, missing and vanishing pictures, a bad sound --------------------
# position: file (good ones and their colours)
list=(good.bmp zero.bmp trunc.bmp good.gif zero.gif trunc.gif broken.gif good.jpg zero.jpg trunc.jpg text.jpg
      huge.jpg good.wmf zero.wmf trunc.wmf plain.wmf good.emf zero.emf trunc.emf good.png zero.png trunc.png
      huge.png good.tif zero.tif trunc.tif exifcut.jpg exifout.jpg exif99.jpg exifbom.jpg exiflong.jpg gone.bmp
      Vanishing/ missing.bmp)
declare -A colour_of=([good.bmp]=$RED [good.gif]=$GREEN [good.jpg]=$BLUE [good.wmf]=$YELLOW [good.emf]=$MAGENTA
                      [good.png]=$CYAN [good.tif]=$ORANGE [exifcut.jpg]=$BLUE [exifout.jpg]=$BLUE
                      [exif99.jpg]=$BLUE [exifbom.jpg]=$BLUE)
n=${#list[@]}
{
  i=0
  for f in "${list[@]}"; do echo "PictureFiles|File$i|entry|$wpics${f//\//\\}"; i=$((i + 1)); done
  echo "SoundFiles|File0|entry|${wpics}notwav.wav"
  echo "SoundFiles|File1|entry|${wpics}nosound.wav"
  options 0.3
  echo "Options|FrameThickness|sz|3"
  echo "Options|FrameColor|sz|0"
  echo "Options|LastPicture|sz|0"
  echo "Options|LastSound|sz|0"
} > "$work/files.seed"
seed "$work/files.seed"
snapshot PictureFiles "$work/lists.before"
snapshot Options "$work/options.before"
start_show
watch 30 1 "$work/first.rec"
check "files: the show started (LastPicture became 1)" grep -q '^last 1 ' "$work/first.rec"
# Now the folder's file and one listed file go away.
rm -rf "$pics/Vanishing" "$pics/gone.bmp"
watch 60 $((2 * n + 1)) "$work/files.rec"
common_checks files "$work/files.rec"
# (The first record only shows that the show started: the second may begin a
# position or two later, so the sequence is the second's alone; it goes round
# the list twice, so every position is checked after the one before it.)
grep '^last ' "$work/files.rec" > "$work/files.seq"
python3 - "$work/files.seq" "$n" "${list[@]}" > "$work/files.result" <<'PY'
import sys
seq = [l.split()[1:] for l in open(sys.argv[1]).read().splitlines()]
n, names = int(sys.argv[2]), sys.argv[3:]
problems = []
prev = None
for pos, colour in seq:
    if not pos.isdigit() or not 1 <= int(pos) <= n:
        problems.append("invalid position %s" % pos)
    elif prev is not None and int(pos) != prev % n + 1:
        problems.append("position %s after %s" % (pos, prev))
    prev = int(pos) if pos.isdigit() else prev
print("steps %d" % len(seq))
print("problems " + ("; ".join(problems) if problems else "none"))
# position -> colours it showed, and the colour before it
for k in range(1, len(seq)):
    pos, colour = seq[k]
    print("shown %s %s %s %s" % (pos, names[int(pos) - 1], colour, seq[k - 1][1]))
PY
check "files: the show went round the list twice ($(grep '^steps' "$work/files.result"))" \
  [ "$(grep '^steps' "$work/files.result" | cut -d' ' -f2)" -ge $((2 * n)) ]
check "files: LastPicture went only to the next valid position ($(grep '^problems' "$work/files.result"))" \
  grep -q '^problems none$' "$work/files.result"
while read -r _ pos name colour before; do
  case "$name" in
    good.*|exifcut.jpg|exifout.jpg|exif99.jpg|exifbom.jpg)
      colour_near "$colour" "${colour_of[$name]}" || echo "FAIL-DETAIL $name at $pos is $colour" ;;
    *)  # nothing new: the picture before it stays
      [ "$colour" = "$before" ] || echo "FAIL-DETAIL $name at $pos changed the screen from $before to $colour" ;;
  esac
done < <(grep '^shown' "$work/files.result") > "$work/files.details"
for f in "${list[@]}"; do
  check "files: $f $(case $f in good.*|exif[cob9]*) echo shown ;; *) echo skipped ;; esac)" \
    bash -c "grep -q ' $f ' '$work/files.result' && ! grep -q ' ${f//\//\\/} at ' '$work/files.details'"
done
check "files: the bad sound did not stop the show (LastSound $(stored LastSound))" \
  bash -c "case '$(stored LastSound)' in 1|2) exit 0;; *) exit 1;; esac"
stop_show
snapshot PictureFiles "$work/lists.after"
snapshot Options "$work/options.after"
check "files: the lists were not rewritten" cmp -s "$work/lists.before" "$work/lists.after"
check "files: no option but the positions was written" cmp -s "$work/options.before" "$work/options.after"

# --- options of the wrong type or length --------------------------------------
names=(Interval BackColor SwapAffect TransSpeed Stretch ShowFileName ShowFrame FrameThickness FrameColor
       PicRandom SoundRandom ResetPicList ResetSoundList)
long=$(printf '9%.0s' $(seq 1 10000))
for kind in dword binary long; do
  {
    echo "PictureFiles|File0|entry|${wpics}good.bmp"
    echo "PictureFiles|File1|entry|${wpics}good.gif"
    echo "SoundFiles|File0|entry|${wpics}notwav.wav"
    for v in "${names[@]}"; do
      case $kind in
        dword) echo "Options|$v|dword|1" ;;
        binary) echo "Options|$v|binary|31,00,32" ;;
        long) echo "Options|$v|sz|$long" ;;
      esac
    done
    echo "Options|LastPicture|sz|0"
  } > "$work/$kind.seed"
  seed "$work/$kind.seed"
  snapshot Options "$work/$kind.before"
  start_show
  watch 30 3 "$work/$kind.rec"
  common_checks "$kind options" "$work/$kind.rec"
  seq=$(grep '^last ' "$work/$kind.rec" | cut -d' ' -f2 | tr '\n' ' ')
  check "$kind options: LastPicture advanced to valid positions ($seq)" \
    bash -c "echo '$seq' | grep -Eq '^([12] ){3}$' && [ \"\$(echo '$seq' | cut -d' ' -f1)\" != \"\$(echo '$seq' | cut -d' ' -f2)\" ]"
  # (an option read as 1 may shuffle the list: either picture may come first)
  reds=0 greens=0
  while read -r _ pos colour; do
    colour_near "$colour" $RED && reds=$((reds + 1))
    colour_near "$colour" $GREEN && greens=$((greens + 1))
  done < <(grep '^last ' "$work/$kind.rec")
  check "$kind options: the good pictures were shown" [ "$reds" -ge 1 -a "$greens" -ge 1 ]
  stop_show
  snapshot Options "$work/$kind.after"
  check "$kind options: the bad values were left as they were" cmp -s "$work/$kind.before" "$work/$kind.after"
done

# --- stored positions that are no position ------------------------------------
# "x" and "99999999999": one tick shows nothing new and stores 0, the next
# starts at 1. "-5": starts again at 1.
for last in x 99999999999 -5; do
  {
    echo "PictureFiles|File0|entry|${wpics}good.bmp"
    echo "PictureFiles|File1|entry|${wpics}good.gif"
    echo "PictureFiles|File2|entry|${wpics}good.jpg"
    options 0.3
    echo "Options|LastPicture|sz|$last"
  } > "$work/last.seed"
  seed "$work/last.seed"
  start_show
  changes=3
  [ "$last" = -5 ] && changes=2
  watch 30 $changes "$work/last.rec"
  common_checks "LastPicture \"$last\"" "$work/last.rec"
  got=$(grep '^last ' "$work/last.rec" | cut -d' ' -f2,3 | tr '\n' ' ')
  if [ "$last" = -5 ]; then
    want="1 $RED 2 $GREEN "
  else
    want="0 $BLACK 1 $RED 2 $GREEN "
  fi
  ok=$(python3 -c 'import sys
g, w = sys.argv[1].split(), sys.argv[2].split()
near = lambda a, b: all(abs(int(a[i:i+2], 16) - int(b[i:i+2], 16)) <= 48 for i in (0, 2, 4))
print("yes" if len(g) == len(w) and all(a == b if k % 2 == 0 else near(a, b) for k, (a, b) in enumerate(zip(g, w))) else "no")' "$got" "$want")
  check "LastPicture \"$last\": positions and colours are \"$want\" (got \"$got\")" [ "$ok" = yes ]
  stop_show
done

finish
