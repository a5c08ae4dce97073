#!/usr/bin/env bash
# Drives Tessaly.scr through its start-up modes and checks what installation
# leaves in the registry and in SYSTEM.INI.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
scr_src=$1

sysdir="$WINEPREFIX/drive_c/windows/system32"
cp "$scr_src" "$sysdir/Tessaly.scr"
mkdir -p "$WINEPREFIX/drive_c/Pics"
KEY='HKCU\Software\Quillmark Inc.'
work=$(mktemp -d)

reset_state() {
  "$WINE" reg delete "$KEY" /f >/dev/null 2>&1
  "$WINE" reg delete "HKCU\\Software\\Wine\\Tessaly" /f >/dev/null 2>&1
  find "$WINEPREFIX/drive_c/windows" -maxdepth 1 -iname system.ini -delete
}

# Runs the screen saver with an argument string and waits for it to end.
run_scr() {
  timeout 60 "$WINE" 'C:\windows\system32\Tessaly.scr' "$@" >/dev/null 2>&1
}

# Exports the application key to a text file (UTF-8); empty when absent.
export_key() {
  rm -f "$work/out.reg" "$WINEPREFIX/drive_c/out.reg"
  "$WINE" reg export "$KEY" 'C:\out.reg' /y >/dev/null 2>&1 || { : > "$work/out.reg"; return; }
  python3 -c 'import sys;d=open(sys.argv[1],"rb").read();print(d.decode("utf-16") if d[:2]==b"\xff\xfe" else d.decode("latin-1"))' \
    "$WINEPREFIX/drive_c/out.reg" > "$work/out.reg"
}

stop_strays() {  # the applet started by installation, in this prefix only
  "$WINE" taskkill /F /IM rundll32.exe >/dev/null 2>&1
  "$WINE" taskkill /F /IM control.exe >/dev/null 2>&1
}

# value SECTION NAME: the stored text of a value, decoded from the export.
value() {
  python3 - "$work/out.reg" "$1" "$2" <<'PY'
import sys, re
text, section, name = open(sys.argv[1]).read(), sys.argv[2], sys.argv[3]
cur = None
for line in text.splitlines():
    if line.startswith('['):
        cur = line.strip('[]').split('\\')[-1]
        continue
    if cur != section or not line.startswith('"' + name + '"='):
        continue
    raw = line[len(name) + 3:]
    if raw.startswith('"'):
        s = raw[1:-1]
        print(re.sub(r'\\(.)', r'\1', s), end='')
    elif raw.startswith('hex(1):') or raw.startswith('hex(0):'):
        print('<empty>', end='')
    sys.exit(0)
print('<missing>', end='')
PY
}

boot_value() {
  local ini
  ini=$(find "$WINEPREFIX/drive_c/windows" -maxdepth 1 -iname system.ini | head -n 1)
  [ -n "$ini" ] || { echo '<no file>'; return; }
  tr -d '\r' < "$ini" | awk '/^\[/{s=$0} s=="[boot]" && /^SCRNSAVE.EXE=/{sub(/^SCRNSAVE.EXE=/,""); print}'
}

entry_ok() {  # entry_ok SECTION NAME FILE FOLDER
  local v; v=$(value "$1" "$2")
  local expect; expect=$(python3 -c 'import sys;e=[" "]*512
f,d=sys.argv[1],sys.argv[2]
e[255:255+len(d)]=d[:257]; e=e[:512]; e[0:len(f)]=f; print("".join(e),end="")' "$3" "$4")
  [ "$v" = "$expect" ]
}

# --- installation with the switch not at the start --------------------------
reset_state
run_scr 'xy' '/INSTALL' 'C:\Pics\'
stop_strays
export_key
check "InstallPath holds the folder" [ "$(value Options InstallPath)" = 'C:\Pics\' ]
check "picture entry 0" entry_ok PictureFiles File0 Sample1.jpg 'C:\Pics\'
check "picture entry 1" entry_ok PictureFiles File1 Sample2.jpg 'C:\Pics\'
check "picture entry 2" entry_ok PictureFiles File2 Sample3.jpg 'C:\Pics\'
check "sound entry 0" entry_ok SoundFiles File0 Camera.wav 'C:\Pics\'
check "sound entry 1" entry_ok SoundFiles File1 SlideProjector.wav 'C:\Pics\'
check "entries are 512 characters" [ "$(value PictureFiles File0 | wc -c)" -eq 512 ]
check "no further entries" [ "$(value PictureFiles File3)" = '<missing>' ]
boot=$(boot_value)
check "SYSTEM.INI names the screen saver ($boot)" \
  [ "${boot,,}" = 'c:\windows\system32\tessaly.scr' ]

# --- installation without a folder -------------------------------------------
reset_state
run_scr '/INSTALL'
stop_strays
export_key
check "empty InstallPath" [ -z "$(value Options InstallPath | sed 's/^<empty>$//')" ]
check "entries with an empty folder" entry_ok SoundFiles File1 SlideProjector.wav ''

# --- switches that install nothing ------------------------------------------
for args in '/install c:\x' '/X'; do
  reset_state
  run_scr $args
  stop_strays
  export_key
  check "'$args' writes no registry key" [ ! -s "$work/out.reg" ]
  check "'$args' writes no SYSTEM.INI entry" [ -z "$(boot_value | grep -v '<no file>')" ]
done

# --- modes that end by themselves (the show itself is tested elsewhere) ------
reset_state
for args in '/p 0' '/a 0'; do
  run_scr $args; rc=$?
  check "'$args' ends cleanly (rc=$rc)" [ "$rc" -eq 0 ]
done

# --- the configuration modes open the configuration window; Esc closes it ----
config_window() { xdotool search --onlyvisible --name '^Screen Saver Properties$' >/dev/null 2>&1; }
for args in '/c' '/c:1234' ''; do
  timeout 60 "$WINE" 'C:\windows\system32\Tessaly.scr' $args >/dev/null 2>&1 &
  pid=$!
  check "'$args' opens the configuration window" wait_for 30 config_window
  # Esc is Cancel; it is pressed again until the window takes it.
  press_escape() {
    kill -0 "$pid" 2>/dev/null || return 0
    keys_to 'Screen Saver Properties' Escape
    sleep 0.5
    ! kill -0 "$pid" 2>/dev/null
  }
  wait_for 20 press_escape
  wait "$pid"; rc=$?
  check "'$args' ends cleanly after Esc (rc=$rc)" [ "$rc" -eq 0 ]
done
check "no error message appeared" bash -c '! xdotool search --name "^Program Error$" >/dev/null 2>&1'

# --- a handle beyond 32 bits is reported by the start-up error message -------
"$WINE" 'C:\windows\system32\Tessaly.scr' /p 99999999999 >/dev/null 2>&1 &
pid=$!
check "overflow shows \"Program Error\"" wait_for 30 window_exists "Program Error"
# "a" (Abort) goes to the box, again each second until the program has
# ended (it takes about two seconds to end under Wine).
press_abort() {
  kill -0 "$pid" 2>/dev/null || return 0
  keys_to 'Program Error' a
  sleep 1
  ! kill -0 "$pid" 2>/dev/null
}
check "Abort ends the program" wait_for 20 press_abort
kill $pid 2>/dev/null

rm -rf "$work"
reset_state
finish
