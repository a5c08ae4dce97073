#!/usr/bin/env bash
# TessalySetup.exe and the uninstall behind the survey, as a Windows user
# meets them, under Wine and Xvfb:
#  1. "/S": the programs of this prefix's architecture in place, the
#     Add/Remove Programs entry, SYSTEM.INI naming the saver, the samples in
#     the lists, "/s" showing them;
#  2. the UninstallString run by Add/Remove Programs (Wine's uninstaller):
#     the survey, No, st6unst.exe's question answered Yes: every installed
#     file and key gone, the user's pictures, play-list file, lists and
#     options untouched; st6unst.exe itself gone at the next restart; a second
#     run finds nothing left to remove;
#  3. installing twice, over an older version and (only when asked) over a
#     newer one keeps the user's lists and options;
#  4. a damaged or missing log: a message naming it, nothing removed;
#  5. a copy moved to another folder and the silent uninstall; the wizard's
#     pages with a folder typed in.
#
#   setup_test.sh <TessalySetup.exe> <Tessaly.scr> <qmunins.exe> <st6unst.exe> <samples> <Tessaly.rc>
#
# The three programs are this build's: in a 64-bit prefix (build win64) the
# setup must install exactly these, in a 32-bit prefix (build win32) too.
# Needs WINEPREFIX (initialised), DISPLAY (Xvfb) and a running wineserver.
set -u
if [ $# -ne 6 ]; then
  echo "usage: $0 <TessalySetup.exe> <Tessaly.scr> <qmunins.exe> <st6unst.exe> <samples> <Tessaly.rc>" >&2
  exit 2
fi
setup=$1 scr=$2 wrapper=$3 uninstaller=$4 samples=$5 resource=$6
: "${WINEPREFIX:?WINEPREFIX must name an initialised prefix}" "${DISPLAY:?DISPLAY must name an X display}"
export WINEPREFIX DISPLAY
. "$(cd "$(dirname "$0")/.." && pwd)/lib.sh"

if [ ! -f "$setup" ]; then
  echo "FAIL - $setup is missing: build the target TessalySetup (it takes the other architecture's build too)"
  exit 1
fi

c=$WINEPREFIX/drive_c
APP='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver'
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly'
PENDING='HKLM\System\CurrentControlSet\Control\Session Manager'
folder='C:\Program Files\Tessaly'
inst="$c/Program Files/Tessaly"
samples_installed=(Sample1.jpg Sample2.jpg Sample3.jpg Camera.wav SlideProjector.wav)
if [ -d "$c/windows/syswow64" ]; then bits=64; else bits=32; fi
version=$(sed -n 's/.*VALUE "ProductVersion", "\([^"]*\)".*/\1/p' "$resource")
# The wizard's picture beside the welcome and finish pages.
wizard_bitmap="$(dirname "$resource")/../setup/art/wizard.bmp"
# The maker's name, which the version resource takes from ProductNames.h.
company=$(sed -n 's/^#define TESSALY_COMPANY_NAME "\([^"]*\)".*/\1/p' "$(dirname "$resource")/../common/ProductNames.h")
work=$(mktemp -d)
trace=$work/trace.txt
echo "# a $bits-bit prefix; the setup is $(stat -c %s "$setup") bytes, version $version"

# --- helpers -------------------------------------------------------------------

# A Windows program of this prefix (not of another run on this machine)
# runs from a file of this name.
running() {  # running NAME.exe
  local pid line
  for pid in $(pgrep -if "$1" 2>/dev/null); do
    line=$(tr '\0' ' ' 2>/dev/null < "/proc/$pid/cmdline")
    [[ ${line,,} =~ ^\"?([^\ \"]*\\)?([^\\\ \"]+\.exe) ]] && [ "${BASH_REMATCH[2]}" = "${1,,}" ] || continue
    tr '\0' '\n' 2>/dev/null < "/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}
ended() { ! running "$1"; }

titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
window_titled() { [ -n "$(titled "$1")" ]; }
no_window_titled() { [ -z "$(titled "$1")" ]; }

# Gives a window the keyboard (there is no window manager) and presses keys,
# again every few seconds until the condition holds or the deadline passes.
press_until() {  # press_until seconds window keys condition...
  local deadline=$(( $(date +%s) + $1 )) window=$2 keys=$3; shift 3
  while :; do
    xdotool windowfocus "$window" >/dev/null 2>&1
    xdotool key $keys >/dev/null 2>&1
    wait_for 3 "$@" && return 0
    [ "$(date +%s)" -ge "$deadline" ] && return 1
  done
}

# The survey window: qmunins' visible window without a title.
survey_window() {
  local w
  for w in $(xdotool search --onlyvisible --classname '^qmunins\.exe$' 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$w" 2>/dev/null)" ] && { echo "$w"; return 0; }
  done
  return 1
}
survey_shown() { survey_window >/dev/null; }
survey_gone() { ! survey_window >/dev/null; }

# The texts of the message boxes shown so far, as Wine's trace gives them:
# box_text N is the Nth (1 = first, -1 = last); boxes counts them.
box_text() {
  python3 - "$trace" "$1" <<'EOF'
import ast, re, sys
texts = []
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    # Wine's trace cuts long texts short after some 300 characters ("...).
    m = re.search(r'MSGBOX_OnInit L(".*")(?:\.\.\.)?\s*$', line)
    if m:
        texts.append(ast.literal_eval(m.group(1)))
n = int(sys.argv[2])
if texts and -len(texts) <= n <= len(texts) and n != 0:
    print(texts[n - 1] if n > 0 else texts[n], end="")
EOF
}
boxes() { grep -c 'MSGBOX_OnInit' "$trace" 2>/dev/null || true; }
boxes_at_least() { [ "$(boxes)" -ge "$1" ]; }
contains() { [[ $1 == *"$2"* ]]; }

# value KEY NAME: the data of a registry value as "reg query" shows it.
value() {
  "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^    $2    REG_[A-Z_]*    //p"
}
key_exists() { "$WINE" reg query "$1" >/dev/null 2>&1; }
key_gone() { ! key_exists "$1"; }

# Everything under the program's key of the user (lists, options, positions).
user_settings() { "$WINE" reg query "$APP" /s 2>/dev/null | tr -d '\r'; }

screen_saver() {
  local ini
  ini=$(find "$c/windows" -maxdepth 1 -iname system.ini | head -n 1)
  [ -n "$ini" ] || return
  tr -d '\r' < "$ini" | awk '/^\[/{s=$0} s=="[boot]" && /^SCRNSAVE.EXE=/{sub(/^SCRNSAVE.EXE=/,""); print}'
}

# entry_ok SECTION NAME FILE FOLDER: a 512-character list entry.
entry_ok() {
  [ "$(value "$APP\\$1" "$2")" = "$(printf '%-255s%-257s' "$3" "$4")" ]
}

elapsed() { awk -v s="$1" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }'; }

# Runs the setup and waits for it: $setup_rc is its exit code, $setup_seconds
# its time; the programs it started are in the trace.
run_setup() {
  local start; start=$(date +%s.%N)
  WINEDEBUG=-all,+process "$WINE" 'C:\TessalySetup.exe' "$@" >/dev/null 2>"$trace"
  setup_rc=$?
  setup_seconds=$(elapsed "$start")
}

installed_files() {  # the Unix paths of what the setup installs with the folder $1 (Unix), one a line
  printf '%s\n' "$c/windows/system32/Tessaly.scr" "$c/windows/system32/TSCSS.htm" "$c/windows/st6unst.exe" \
                "$1/qmunins.exe" "$1/st6unst.log" "${samples_installed[@]/#/$1/}"
}
all_present() { local f; while read -r f; do [ -f "$f" ] || return 1; done < <(installed_files "$1"); }
all_gone_but_self() {
  local f
  while read -r f; do
    [ "$f" = "$c/windows/st6unst.exe" ] && continue
    [ -e "$f" ] && { echo "   still there: $f"; return 1; }
  done < <(installed_files "$1")
  return 0
}

pending_removal() { "$WINE" reg query "$PENDING" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' | grep -qi 'st6unst.exe'; }

# Windows restarts: what waits for it (st6unst.exe) is done.
restart() { "$WINE" wineboot -r >/dev/null 2>&1; }

# Settles what the setup left running: the Display Properties applet that
# "/INSTALL" opens (under Wine it finds no desk.cpl and ends at once).
settle_applet() {
  wait_for 20 ended rundll32.exe || "$WINE" taskkill /f /im rundll32.exe >/dev/null 2>&1
}

cleanup() {
  "$WINE" taskkill /f /im Tessaly.scr >/dev/null 2>&1
  "$WINE" reg delete "$UNINSTALL" /f >/dev/null 2>&1
  "$WINE" reg delete 'HKCU\Software\Quillmark Inc.' /f >/dev/null 2>&1
  rm -rf "$inst" "$c/TessalyMoved" "$c/Tessaly Wizard" "$c/Pics" "$c/TessalySetup.exe" "$c/again"
  rm -f "$c/windows/system32/Tessaly.scr" "$c/windows/system32/TSCSS.htm" "$c/windows/st6unst.exe"
  "$WINE" reg delete "$PENDING" /v PendingFileRenameOperations /f >/dev/null 2>&1
  local ini
  ini=$(find "$c/windows" -maxdepth 1 -iname system.ini | head -n 1)
  [ -n "$ini" ] && sed -i '/^SCRNSAVE.EXE=/d' "$ini"
  rm -rf "$work"
}
trap cleanup EXIT
cleanup
mkdir -p "$work"
cp "$setup" "$c/TessalySetup.exe"

check "the setup asks for administrator rights (its manifest)" grep -aq 'level="requireAdministrator"' "$setup"

# --- 1. silent installation ------------------------------------------------------
run_setup /S
install_seconds=$setup_seconds
check "/S: the setup ends with 0 (rc=$setup_rc)" [ "$setup_rc" -eq 0 ]
check "/S: Tessaly.scr in the system directory is this build's ($bits-bit)" cmp -s "$scr" "$c/windows/system32/Tessaly.scr"
if [ "$bits" = 64 ]; then
  check "/S: nothing in the 32-bit system directory (past the redirection)" \
    bash -c '! ls "$1"/windows/syswow64/ | grep -qi "^tessaly.scr$\|^tscss.htm$"' _ "$c"
fi
check "/S: its help page beside it" cmp -s "$(dirname "$resource")/help/TSCSS.htm" "$c/windows/system32/TSCSS.htm"
check "/S: st6unst.exe in the Windows directory is this build's" cmp -s "$uninstaller" "$c/windows/st6unst.exe"
check "/S: qmunins.exe in the installation folder is this build's" cmp -s "$wrapper" "$inst/qmunins.exe"
same_samples() { local f; for f in "${samples_installed[@]}"; do cmp -s "$samples/$f" "$inst/$f" || return 1; done; }
check "/S: the samples in the installation folder" same_samples
check "/S: the uninstall log in the installation folder" test -s "$inst/st6unst.log"
cp "$inst/st6unst.log" "$work/st6unst.log"
log_lists() {  # every file and folder installed, and the key, is in the log
  local f text
  text=$(tr -d '\r' < "$work/st6unst.log")
  for f in 'C:\windows\system32\Tessaly.scr' 'C:\windows\system32\TSCSS.htm' 'C:\windows\st6unst.exe' \
           "$folder\\qmunins.exe" "$folder\\st6unst.log" "${samples_installed[@]/#/$folder\\}"; do
    grep -qixF "File: $f" <<<"$text" || { echo "   not in the log: $f"; return 1; }
  done
  grep -qxF "Folder: $folder" <<<"$text" && grep -qxF "RegKey: $UNINSTALL" <<<"$text"
}
check "/S: the log lists every file, the folder and the key" log_lists

check "Add/Remove Programs: DisplayName" [ "$(value "$UNINSTALL" DisplayName)" = 'Tessaly Customizable Screen Saver' ]
check "Add/Remove Programs: DisplayVersion from the version resource ($version)" \
  [ -n "$version" -a "$(value "$UNINSTALL" DisplayVersion)" = "$version" ]
check "Add/Remove Programs: Publisher from the version resource ($company)" \
  [ -n "$company" -a "$(value "$UNINSTALL" Publisher)" = "$company" ]
check "Add/Remove Programs: DisplayIcon" [ "$(value "$UNINSTALL" DisplayIcon)" = 'C:\windows\system32\Tessaly.scr,0' ]
check "Add/Remove Programs: InstallLocation" [ "$(value "$UNINSTALL" InstallLocation)" = "$folder" ]
kilobytes=$(installed_files "$inst" | xargs -d '\n' stat -c %s | awk '{ s += $1 } END { print int((s + 1023) / 1024) }')
check "Add/Remove Programs: EstimatedSize is what was installed ($kilobytes KB)" \
  [ "$(value "$UNINSTALL" EstimatedSize)" = "$(printf '0x%x' "$kilobytes")" ]
check "Add/Remove Programs: NoModify, NoRepair" \
  [ "$(value "$UNINSTALL" NoModify)" = 0x1 -a "$(value "$UNINSTALL" NoRepair)" = 0x1 ]
check "Add/Remove Programs: UninstallString starts qmunins with the log" \
  [ "$(value "$UNINSTALL" UninstallString)" = "\"$folder\\qmunins.exe\" -n \"$folder\\st6unst.log\"" ]
check "Add/Remove Programs: QuietUninstallString runs st6unst silently" \
  [ "$(value "$UNINSTALL" QuietUninstallString)" = "\"C:\\windows\\st6unst.exe\" -n \"$folder\\st6unst.log\" /S" ]

check "/INSTALL ran with the installation folder" \
  grep -qF 'cmdline L"\"C:\\windows\\system32\\Tessaly.scr\" /INSTALL C:\\Program Files\\Tessaly\\"' "$trace"
check "/INSTALL opened Display Properties on the screen saver page" \
  grep -qF 'cmdline L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1"' "$trace"
settle_applet
saver=$(screen_saver)
check "SYSTEM.INI names the saver ($saver)" [ "${saver,,}" = 'c:\windows\system32\tessaly.scr' ]
check "the installation folder is stored" [ "$(value "$APP\\Options" InstallPath)" = "$folder\\" ]
samples_listed() {
  entry_ok PictureFiles File0 Sample1.jpg "$folder\\" && entry_ok PictureFiles File1 Sample2.jpg "$folder\\" &&
    entry_ok PictureFiles File2 Sample3.jpg "$folder\\" && [ -z "$(value "$APP\\PictureFiles" File3)" ] &&
    entry_ok SoundFiles File0 Camera.wav "$folder\\" && entry_ok SoundFiles File1 SlideProjector.wav "$folder\\"
}
check "the samples are in the picture and sound lists" samples_listed

# "/s", as Windows starts the saver SYSTEM.INI names, shows the samples.
shot() { import -window root "$work/shot.png" 2>/dev/null; }
pixel() {  # pixel FILE X Y: "r g b"
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}
sample_in_middle() {
  shot
  local middle; middle=$(pixel "$work/shot.png" 512 384)
  near "$middle" "$(pixel "$samples/Sample1.jpg" 200 150)" 24 ||
    near "$middle" "$(pixel "$samples/Sample2.jpg" 512 384)" 24 ||
    near "$middle" "$(pixel "$samples/Sample3.jpg" 960 720)" 24
}
"$WINE" "$saver" /s >/dev/null 2>&1 &
show=$!
check "/s: the show window opens" wait_for 30 window_exists "Screen Saver Main Form"
check "/s: a sample shows in the middle of the screen" wait_for 20 sample_in_middle
shown() { [ "$(value "$APP\\Options" LastPicture)" -ge 1 ] 2>/dev/null; }
check "/s: the show went through the samples (LastPicture)" wait_for 20 shown
xdotool key space
wait_for 10 gone "$show" || kill "$show" 2>/dev/null

# --- 2. Add/Remove Programs: the survey, then st6unst ------------------------------
# The user's own pictures and play-list file, in the installation folder itself.
mkdir -p "$inst/Holiday"
convert -size 64x48 xc:navy "$inst/Holiday/beach.bmp"
convert -size 64x48 xc:orange "$inst/Holiday/sunset.bmp"
printf 'P:%-255s%-257s\r\n' beach.bmp "$folder\\Holiday\\" > "$inst/mine.tsl"
mine() { (cd "$inst" && md5sum Holiday/beach.bmp Holiday/sunset.bmp mine.tsl 2>/dev/null); }
mine_before=$(mine)
"$WINE" reg add "$APP\\Options" /v Interval /d 7 /f >/dev/null
settings_before=$(user_settings)

: > "$trace"
uninstall_start=$(date +%s.%N)
WINEDEBUG=-all,+msgbox,+process "$WINE" uninstaller --remove Tessaly >/dev/null 2>"$trace" &
check "Add/Remove Programs starts the UninstallString: the survey appears" wait_for 60 survey_shown
check "the uninstaller does not run while the survey is open" \
  bash -c '! grep -q "st6unst.exe -n" "$1"' _ "$trace"
w=$(survey_window)
[ -n "$w" ] && press_until 20 "$w" alt+n survey_gone
check "No closes the survey" survey_gone
check "st6unst.exe asks first" wait_for 30 window_titled 'Tessaly Uninstall'
check "qmunins started it from the Windows directory with the log" \
  grep -qF 'cmdline L"C:\\windows\\st6unst.exe -n \"C:\\Program Files\\Tessaly\\st6unst.log\""' "$trace"
question=$(box_text 1)
check "the question names the program and its version" contains "$question" "Remove Tessaly Customizable Screen Saver $version"
check "the question says that the user's files, lists and options stay" contains "$question" \
  "Your pictures, sounds and play-list files stay, and so do your lists and options in the registry: a new installation finds them again."
check "nothing is removed before the answer" all_present "$inst"
box=$(titled 'Tessaly Uninstall')
[ -n "$box" ] && press_until 30 "$box" alt+y boxes_at_least 2
report=$(box_text 2)
check "Yes: it reports the removal" contains "$report" "Tessaly Customizable Screen Saver was removed from your computer."
check "Yes: it says the installation folder stays for the user's files" \
  contains "$report" $'These folders hold further files and were left in place:\r\n    C:\\Program Files\\Tessaly'
box=$(titled 'Tessaly Uninstall')
[ -n "$box" ] && press_until 20 "$box" Return no_window_titled 'Tessaly Uninstall'
check "st6unst.exe ends" wait_for 30 ended st6unst.exe
uninstall_seconds=$(elapsed "$uninstall_start")
check "every installed file is gone" all_gone_but_self "$inst"
check "the Add/Remove Programs entry is gone" key_gone "$UNINSTALL"
check "SYSTEM.INI names no screen saver" [ -z "$(screen_saver)" ]
check "the user's pictures and play-list file are untouched" [ "$(mine)" = "$mine_before" ]
check "the user's lists and options are still in the registry" [ "$(user_settings)" = "$settings_before" ]
check "st6unst.exe waits for the restart" pending_removal
restart
check "after the restart st6unst.exe is gone" test ! -e "$c/windows/st6unst.exe"
echo "# round trip (Add/Remove Programs, survey, question): install ${install_seconds} s, uninstall ${uninstall_seconds} s (key presses included)"

# A second run of the same command: nothing left to remove.
mkdir -p "$c/again" && cp "$uninstaller" "$c/again/st6unst.exe"
: > "$trace"
WINEDEBUG=-all,+msgbox "$WINE" 'C:\again\st6unst.exe' -n 'C:\Program Files\Tessaly\st6unst.log' >/dev/null 2>"$trace" &
again=$!
check "a second run tells" wait_for 30 window_titled 'Tessaly Uninstall'
check "there is nothing left to remove" \
  [ "$(box_text 1)" = "There is nothing left to remove: Tessaly Customizable Screen Saver is not installed." ]
box=$(titled 'Tessaly Uninstall')
[ -n "$box" ] && press_until 20 "$box" Return gone "$again"
wait "$again"; rc=$?
check "the second run ends with 0 (rc=$rc)" [ "$rc" -eq 0 ]
check "the user's pictures are still untouched" [ "$(mine)" = "$mine_before" ]
rm -rf "$inst"

# --- 3. installing again keeps the user's lists ---------------------------------
mkdir -p "$c/Pics"
"$WINE" reg delete "$APP" /f >/dev/null 2>&1
run_setup /S
settle_applet
add_list_of() {  # add_list_of SECTION FOLDER NAME...
  local section=$1 dir=$2 i=0; shift 2
  "$WINE" reg delete "$APP\\$section" /f >/dev/null 2>&1
  for name in "$@"; do
    "$WINE" reg add "$APP\\$section" /v "File$i" /d "$(printf '%-255s%-257s' "$name" "$dir")" /f >/dev/null
    i=$((i + 1))
  done
}
add_list_of PictureFiles 'C:\Pics\' one.jpg two.jpg three.jpg four.jpg five.jpg
add_list_of SoundFiles 'C:\Pics\' ding.wav
"$WINE" reg add "$APP\\Options" /v Interval /d 9 /f >/dev/null
"$WINE" reg add "$APP\\Options" /v PlayList /d 'C:\Pics\mine.tsl' /f >/dev/null
settings_before=$(user_settings)
rm -f "$inst/qmunins.exe" "$c/windows/system32/TSCSS.htm"
: > "$trace"
run_setup /S
settle_applet
check "again: the setup ends with 0 (rc=$setup_rc)" [ "$setup_rc" -eq 0 ]
check "again: it ran /INSTALL" grep -qF '/INSTALL C:\\Program Files\\Tessaly\\"' "$trace"
check "again: the programs are in place again" all_present "$inst"
check "again: the user's lists and options are as they were" [ "$(user_settings)" = "$settings_before" ]
saver=$(screen_saver)
check "again: SYSTEM.INI names the saver" [ "${saver,,}" = 'c:\windows\system32\tessaly.scr' ]
run_setup /S
settle_applet
check "a third time: the lists and options are as they were" [ "$(user_settings)" = "$settings_before" ]

"$WINE" reg add "$UNINSTALL" /v DisplayVersion /d 1.5.0 /f >/dev/null
run_setup /S
settle_applet
check "over an older version: the setup ends with 0 (rc=$setup_rc)" [ "$setup_rc" -eq 0 ]
check "over an older version: the entry shows this version" [ "$(value "$UNINSTALL" DisplayVersion)" = "$version" ]
check "over an older version: the lists and options are as they were" [ "$(user_settings)" = "$settings_before" ]

"$WINE" reg add "$UNINSTALL" /v DisplayVersion /d 99.0.0 /f >/dev/null
rm -f "$inst/Sample2.jpg"
run_setup /S
check "over a newer version, silently: refused (rc=$setup_rc)" [ "$setup_rc" -eq 2 ]
check "over a newer version: nothing installed" test ! -e "$inst/Sample2.jpg"
check "over a newer version: the entry still shows it" [ "$(value "$UNINSTALL" DisplayVersion)" = 99.0.0 ]
: > "$trace"
WINEDEBUG=-all,+msgbox "$WINE" 'C:\TessalySetup.exe' >/dev/null 2>"$trace" &
wizard=$!
asks() { boxes_at_least 1; }
check "over a newer version, with the wizard: it asks" wait_for 60 asks
check "the question names both versions" [ "$(box_text 1)" = \
  $'A newer version of Tessaly Customizable Screen Saver (99.0.0) is installed.\r\n\r\nDo you want to replace it with version '"$version?" ]
box=$(titled 'Tessaly Customizable Screen Saver Setup')
[ -n "$box" ] && press_until 20 "$box" alt+n gone "$wizard"
wait "$wizard"; rc=$?
check "No: the setup ends (rc=$rc) and installs nothing" [ "$rc" -eq 2 -a ! -e "$inst/Sample2.jpg" ]
run_setup /S /DOWNGRADE
settle_applet
check "/DOWNGRADE: replaced (rc=$setup_rc)" [ "$setup_rc" -eq 0 -a -e "$inst/Sample2.jpg" ]
check "/DOWNGRADE: the entry shows this version" [ "$(value "$UNINSTALL" DisplayVersion)" = "$version" ]
check "/DOWNGRADE: the lists and options are as they were" [ "$(user_settings)" = "$settings_before" ]

# --- 4. a damaged or missing log removes nothing ---------------------------------
log="$inst/st6unst.log"
cp "$log" "$work/good.log"
state() {  # what an uninstall would change
  installed_files "$inst" | while read -r f; do [ -e "$f" ] && echo "$f"; done
  value "$UNINSTALL" UninstallString
  screen_saver
}
state_before=$(state)
run_uninstaller() {  # run_uninstaller [/S]: $rc
  : > "$trace"
  WINEDEBUG=-all,+msgbox "$WINE" 'C:\windows\st6unst.exe' -n 'C:\Program Files\Tessaly\st6unst.log' "$@" \
    >/dev/null 2>"$trace" &
  local pid=$!
  if [ $# -eq 0 ]; then
    wait_for 30 window_titled 'Tessaly Uninstall'
    local box; box=$(titled 'Tessaly Uninstall')
    [ -n "$box" ] && press_until 20 "$box" Return gone "$pid"
  fi
  wait_for 30 gone "$pid" || kill "$pid"
  wait "$pid"; rc=$?
}
damage() {  # damage NAME EXPECTED-TEXT PYTHON-EXPRESSION-ON-t
  python3 -c "import sys; t=open(sys.argv[1],'rb').read(); open(sys.argv[2],'wb').write($3)" "$work/good.log" "$log"
  run_uninstaller
  check "$1: the message names the log and the damage" \
    [ "$(box_text 1)" = "The uninstall log \"$folder\\st6unst.log\" is damaged: $2 Nothing was removed." ]
  check "$1: nothing removed (rc=$rc)" [ "$rc" -eq 2 -a "$(state)" = "$state_before" ]
  run_uninstaller /S
  check "$1, silently: nothing removed and nothing shown (rc=$rc)" \
    [ "$rc" -eq 2 -a "$(state)" = "$state_before" -a "$(boxes)" -eq 0 ]
}
damage "a log cut short" "it was cut short (its last line is incomplete)." 't[:len(t)//2]'
damage "a log with a count that does not match" "the number of entries does not match (line 16)." \
  "t.replace(b'End: 12', b'End: 11')"
damage "a log naming a file of Windows" "the file is not a file the setup installs (line 9)." \
  "t.replace(b'C:\\\\Program Files\\\\Tessaly\\\\Sample1.jpg', b'C:\\\\windows\\\\system32\\\\user32.dll')"
damage "a log naming the user's settings key" "the key is not an Add/Remove Programs entry (line 15)." \
  "t.replace(b'HKLM\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Tessaly', b'HKCU\\\\Software\\\\Quillmark Inc.')"
rm -f "$log"
run_uninstaller
check "a missing log: the message names it" \
  [ "$(box_text 1)" = "The uninstall log \"$folder\\st6unst.log\" cannot be found. Nothing was removed." ]
check "a missing log: nothing removed (rc=$rc)" \
  [ "$rc" -eq 2 -a "$(state | grep -v st6unst.log)" = "$(grep -v st6unst.log <<<"$state_before")" ]
cp "$work/good.log" "$log"

# --- 5. another folder, the silent uninstall, the wizard ---------------------------
# Folders the uninstaller would never remove, and one whose name the ANSI
# code page cannot hold: refused, nothing installed. (Wine quotes an argument
# with a blank, and "/D=" must not be quoted: these have none.)
for refused in 'C:\windows\Tessaly' 'C:\users' 'C:\ProgramData' 'C:\Tessaly東京'; do
  run_setup /S "/D=$refused"
  check "the folder $refused is refused (rc=$setup_rc)" \
    [ "$setup_rc" -eq 2 -a "$(value "$UNINSTALL" InstallLocation)" = "$folder" -a ! -e "$c/windows/Tessaly" ]
done
run_setup /S '/D=C:\TessalyMoved'
settle_applet
check "moved: installed into the new folder (rc=$setup_rc)" all_present "$c/TessalyMoved"
check "moved: the files in the old folder stay" all_present "$inst"
check "moved: the entry points to it" [ "$(value "$UNINSTALL" InstallLocation)" = 'C:\TessalyMoved' ]
check "moved: the new log keeps the old folder's entries" grep -qF "Folder: $folder" "$c/TessalyMoved/st6unst.log"
but_folder() { grep -v '^    InstallPath    '; }
check "moved: the user's lists and options are as they were" \
  [ "$(user_settings | but_folder)" = "$(but_folder <<<"$settings_before")" ]
check "moved: the screen saver knows its new folder" [ "$(value "$APP\\Options" InstallPath)" = 'C:\TessalyMoved\' ]
quiet=$(value "$UNINSTALL" QuietUninstallString)
printf '@%s\r\n' "$quiet" > "$c/quiet.bat"
start=$(date +%s.%N)
"$WINE" cmd /c 'C:\quiet.bat' >/dev/null 2>&1
wait_for 30 ended st6unst.exe
quiet_seconds=$(elapsed "$start")
rm -f "$c/quiet.bat"
both_gone() { all_gone_but_self "$c/TessalyMoved" && all_gone_but_self "$inst" && [ ! -e "$c/TessalyMoved" ] && [ ! -e "$inst" ]; }
check "QuietUninstallString: both folders and their files gone" both_gone
check "QuietUninstallString: the entry gone" key_gone "$UNINSTALL"
check "QuietUninstallString: the user's lists and options stay" \
  [ "$(user_settings | but_folder)" = "$(but_folder <<<"$settings_before")" ]
restart
echo "# silent round trip: install ${setup_seconds} s, uninstall ${quiet_seconds} s"

# The wizard: welcome, the folder typed in, progress, finish. The window's
# title is "<name> Setup" on the welcome page and "<name> Setup " (a blank
# subcaption) on the later pages.
: > "$trace"
WINEDEBUG=-all,+msgbox "$WINE" 'C:\TessalySetup.exe' >/dev/null 2>"$trace" &
wizard=$!
check "the wizard opens on its welcome page" wait_for 60 window_titled 'Tessaly Customizable Screen Saver Setup'
w=$(titled 'Tessaly Customizable Screen Saver Setup')
# The page's picture at the window's left edge is ours, pixel for pixel.
welcome_picture() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
  [ -n "${X:-}" ] && import -window root "$work/welcome.png" 2>/dev/null || return 1
  convert "$work/welcome.png" -crop "164x314+$X+$Y" +repage "$work/sidebar.png" &&
    [ "$(compare -metric AE "$work/sidebar.png" "$wizard_bitmap" null: 2>&1)" = 0 ]
}
check "the welcome page shows the wizard's picture" wait_for 10 welcome_picture
[ -n "$w" ] && press_until 20 "$w" Return window_titled 'Tessaly Customizable Screen Saver Setup '  # Next
check "Next: the folder page" window_titled 'Tessaly Customizable Screen Saver Setup '
# The folder's name is selected in its box: typing replaces it.
type_folder() {
  xdotool windowfocus "$w" key ctrl+a >/dev/null 2>&1
  xdotool type --delay 20 "$1" >/dev/null 2>&1
  xdotool key Return >/dev/null 2>&1                             # Install
}
type_folder 'C:\windows\Tessaly'
check "a folder in the Windows directory: the page says why it does not go on" wait_for 30 boxes_at_least 1
check "the message names the folder" \
  [ "$(box_text 1)" = 'C:\windows\Tessaly lies in the Windows directory.  Choose another folder for Tessaly.' ]
# The message (titled like the wizard, whose title now ends in a blank).
box=$(titled 'Tessaly Customizable Screen Saver Setup')
[ -n "$box" ] && press_until 20 "$box" Return no_window_titled 'Tessaly Customizable Screen Saver Setup'
check "nothing installed there" test ! -e "$c/windows/Tessaly"
# Back and Next again: the page shows the folder selected in its box.
press_until 20 "$w" alt+b window_titled 'Tessaly Customizable Screen Saver Setup'
press_until 20 "$w" Return window_titled 'Tessaly Customizable Screen Saver Setup '
type_folder 'C:\Tessaly Wizard'
finished() { [ -e "$c/Tessaly Wizard/st6unst.log" ] && key_exists "$UNINSTALL"; }
check "the wizard installs into the folder typed in" wait_for 60 finished
settle_applet
# The key appears with its first value; the wizard writes the rest while the
# progress page runs, so wait for the value instead of reading it once.
points_to_wizard() {
  [ "$(value "$UNINSTALL" UninstallString)" = '"C:\Tessaly Wizard\qmunins.exe" -n "C:\Tessaly Wizard\st6unst.log"' ]
}
check "the wizard: the entry points to that folder" wait_for 30 points_to_wizard
w=$(titled 'Tessaly Customizable Screen Saver Setup ')
[ -n "$w" ] && press_until 30 "$w" Return gone "$wizard"          # Finish
check "Finish ends the wizard" gone "$wizard"
"$WINE" 'C:\windows\st6unst.exe' -n 'C:\Tessaly Wizard\st6unst.log' /S >/dev/null 2>&1
wizard_gone() { [ ! -e "$c/Tessaly Wizard" ] && key_gone "$UNINSTALL" && all_gone_but_self "$c/Tessaly Wizard"; }
check "and the silent uninstall removes it all" wizard_gone

finish
