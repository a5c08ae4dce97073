#!/usr/bin/env bash
# qmunins.exe under Wine and Xvfb: the refusal without arguments; the survey
# window shown before the uninstaller; each way of closing it starting
# st6unst.exe with the arguments unchanged; "Yes" opening the survey address;
# a missing uninstaller reported.
#
#   qmunins_test.sh <qmunins.exe> <st6unst stand-in.exe> <browser stand-in.exe>
#
# Needs WINEPREFIX (initialised), DISPLAY (Xvfb) and a running wineserver.
set -u
if [ $# -ne 3 ]; then
  echo "usage: $0 <qmunins.exe> <st6unst-standin.exe> <browser-standin.exe>" >&2
  exit 2
fi
exe=$1 uninstaller=$2 browser=$3
: "${WINEPREFIX:?WINEPREFIX must name an initialised prefix}" "${DISPLAY:?DISPLAY must name an X display}"
export WINEPREFIX DISPLAY
. "$(cd "$(dirname "$0")/.." && pwd)/lib.sh"

c=$WINEPREFIX/drive_c
dir=qmtest_$$                       # the wrapper lives in C:\$dir
work=$(mktemp -d)
trace=$work/trace.txt               # Wine's trace: the message boxes' texts, and what the shell started
mkdir -p "$c/$dir"
cp "$exe" "$c/$dir/qmunins.exe"
cp "$browser" "$c/browser.exe"

# The browser stand-in opens http and https addresses; the old entries come back at the end.
for scheme in http https; do
  "$WINE" reg export "HKCR\\$scheme" "$work/$scheme.reg" /y >/dev/null 2>&1 || rm -f "$work/$scheme.reg"
  "$WINE" reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d '"C:\browser.exe" "%1"' /f >/dev/null 2>&1
done
settings='HKCU\Software\Quillmark Inc.\qmunins'

cleanup() {
  for scheme in http https; do
    "$WINE" reg delete "HKCR\\$scheme" /f >/dev/null 2>&1
    [ -f "$work/$scheme.reg" ] && "$WINE" reg import "$work/$scheme.reg" >/dev/null 2>&1
  done
  "$WINE" reg delete "$settings" /f >/dev/null 2>&1
  rm -rf "${c:?}/$dir" "$c/browser.exe" "$c/windows/st6unst.exe" "$c"/record_st6unst.txt "$c"/record_browser.txt
  rm -rf "$work"
}
trap cleanup EXIT

record() { cat "$c/record_$1.txt" 2>/dev/null; }
ran() { [ -s "$c/record_$1.txt" ]; }
not_ran() { ! [ -e "$c/record_$1.txt" ]; }
wrapper_ended() { ! kill -0 "$pid" 2>/dev/null; }
wrapper_running() { kill -0 "$pid" 2>/dev/null; }
titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
window_titled() { [ -n "$(titled "$1")" ]; }

# The survey window: the wrapper's visible window without a title.
survey_window() {
  local w
  for w in $(xdotool search --onlyvisible --classname '^qmunins\.exe$' 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$w" 2>/dev/null)" ] && { echo "$w"; return 0; }
  done
  return 1
}
survey_shown() { survey_window >/dev/null; }
survey_gone() { ! survey_window >/dev/null; }

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

# Starts the wrapper with exactly this argument text, through a batch file so
# no quoting of the loader's comes in between (cmd only wants "%" doubled).
start_wrapper() {
  rm -f "$c/record_st6unst.txt" "$c/record_browser.txt"
  local line="@C:\\$dir\\qmunins.exe"
  [ -n "$1" ] && line+=" ${1//%/%%}"
  printf '%s\r\n' "$line" > "$c/$dir/run.bat"
  WINEDEBUG=-all,+msgbox,+exec "$WINE" cmd /c "C:\\$dir\\run.bat" >/dev/null 2>"$trace" &
  pid=$!
}

# The text Wine's message box was shown with, as it traces it (escapes decoded).
box_text() {
  python3 - "$trace" <<'EOF'
import ast, re, sys
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    m = re.search(r'MSGBOX_OnInit L(".*")\s*$', line)
    if m:
        print(ast.literal_eval(m.group(1)), end="")
        break
EOF
}

# Window's position is within a few pixels of the screen's centre.
centred() {
  local X Y WIDTH HEIGHT WINDOW SCREEN sw sh
  eval "$(xdotool getwindowgeometry --shell "$1")"
  read -r sw sh < <(xdotool getdisplaygeometry)
  local dx=$(( X - (sw - WIDTH) / 2 )) dy=$(( Y - (sh - HEIGHT) / 2 ))
  [ ${dx#-} -le 4 ] && [ ${dy#-} -le 40 ]
}

# The survey address is made only of bytes that may stand in a query (and no
# blank or quote), every "%" starts an escape, and it decodes to the arguments.
address_ok() {  # address_ok expected-prefix address arguments
  python3 - "$@" <<'EOF'
import re, sys, urllib.parse
prefix, address, args = sys.argv[1], sys.argv[2], sys.argv[3]
ok = address.startswith(prefix)
query = address[len(prefix):]
ok = ok and re.fullmatch(r"(?:[A-Za-z0-9\-._~!$&'()*+,;=:@/?]|%[0-9A-F]{2})*", query) is not None
ok = ok and urllib.parse.unquote_to_bytes(query) == args.encode("latin-1")
if not ok:
    print("   address %r does not carry %r" % (address, args))
sys.exit(0 if ok else 1)
EOF
}

args=$'/U "C:\\Program Files\\x\\st6unst.log"  a\tb "50% <off> ^|{~}`\'&;=+" end'
expected_run=$'ran\tC:\\windows\\st6unst.exe '"$args"

# --- 1. without arguments: refused, nothing started --------------------------
cp "$uninstaller" "$c/windows/st6unst.exe"
start_wrapper ""
check "no arguments: \"Cannot Run Directly\" appears" wait_for 60 window_titled 'Cannot Run Directly'
box=$(titled 'Cannot Run Directly')
check "no arguments: the message says how to uninstall" \
  test "$(box_text)" = "This program cannot be run directly.  Run Add/Remove Programs in the Control Panel and select the application name."
check "no arguments: no survey window" survey_gone
[ -n "$box" ] && press_until 20 "$box" Return wrapper_ended
check "no arguments: the wrapper ends once the message is closed" wait_for 20 wrapper_ended
check "no arguments: nothing was started" bash -c "! [ -e '$c/record_st6unst.txt' ] && ! [ -e '$c/record_browser.txt' ]"

# --- 2. each way of closing the survey starts the uninstaller ----------------
# how: keys to press | browser expected | survey site set in the registry
for how in "Yes by Enter|Return|http://www.quillmark.com/uninstall.htm?|" \
           "Yes by Alt+Y, site from the registry|alt+y|https://survey.example.org/uninstall.htm?|https://survey.example.org/" \
           "No by Alt+N|alt+n||" \
           "Escape|Escape||" \
           "close box (Alt+F4)|alt+F4||"; do
  IFS='|' read -r name keys site base <<<"$how"
  if [ -n "$base" ]; then
    "$WINE" reg add "$settings" /v BaseAddress /t REG_SZ /d "$base" /f >/dev/null 2>&1
  else
    "$WINE" reg delete "$settings" /f >/dev/null 2>&1
  fi
  start_wrapper "$args"
  check "$name: the survey window appears" wait_for 60 survey_shown
  w=$(survey_window)
  [ -n "$w" ] || continue
  check "$name: it is centred on the screen" centred "$w"
  sleep 1  # give an early start of the uninstaller the chance to show
  check "$name: the uninstaller has not started while it is open" not_ran st6unst
  press_until 20 "$w" "$keys" survey_gone
  check "$name: the survey window closes" survey_gone
  check "$name: the uninstaller starts" wait_for 30 ran st6unst
  check "$name: it got exactly the arguments after one space" test "$(record st6unst)" = "$expected_run"
  if [ -n "$site" ]; then
    check "$name: the browser opens" wait_for 30 ran browser
    if ! ran browser; then  # what the shell did with the address, for the log
      grep -E ':exec:(ShellExecute|SHELL_execute|execute_from_key|SHELL_ExecuteW|SHELL_FindExecutable)' "$trace" |
        grep -v 'qmunins\.exe\|st6unst' | tail -n 12 | cut -c1-300 | sed 's/^/#   /'
    fi
    got=$(record browser)
    line_ok() { [[ $got == $'ran\t"C:\\browser.exe" "'*'"' ]] && [ "$(printf '%s\n' "$got" | wc -l)" -eq 1 ]; }
    check "$name: once, with the address quoted as the one argument" line_ok
    address=${got#*\"C:\\browser.exe\" \"}
    address=${address%\"}
    check "$name: the address is the survey page for the arguments" address_ok "$site" "$address" "$args"
  else
    check "$name: no browser" not_ran browser
  fi
  check "$name: the wrapper ends" wait_for 30 wrapper_ended
done
"$WINE" reg delete "$settings" /f >/dev/null 2>&1

# --- 3. no uninstaller in the Windows directory: reported -------------------
rm -f "$c/windows/st6unst.exe"
start_wrapper "/U x"
wait_for 60 survey_shown && press_until 20 "$(survey_window)" alt+n survey_gone
title="Tessaly Customizable Screen Saver"
check "missing uninstaller: a message titled \"$title\" appears" wait_for 30 window_titled "$title"
check "missing uninstaller: it names the command" \
  bash -c '[[ $1 == *"C:\\windows\\st6unst.exe /U x"* ]]' _ "$(box_text)"
check "missing uninstaller: the wrapper waits for the message" wrapper_running
box=$(titled "$title")
[ -n "$box" ] && press_until 20 "$box" Return wrapper_ended
check "missing uninstaller: the wrapper ends once it is closed" wait_for 20 wrapper_ended

kill "$pid" 2>/dev/null
finish
