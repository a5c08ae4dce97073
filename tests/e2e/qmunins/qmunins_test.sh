#!/usr/bin/env bash
# Drives qmunins.exe: the refusal without arguments, the survey window before
# the uninstaller, the arguments passed on unchanged, the survey address.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../lib.sh"
exe=$1
recorder=$2
c="$WINEPREFIX/drive_c"
cp "$exe" "$c/qmunins.exe"
cp "$recorder" "$c/browser.exe"
for k in 'HKCR\http\shell\open\command' 'HKCR\https\shell\open\command'; do
  "$WINE" reg add "$k" /ve /d '"C:\browser.exe" %1' /f >/dev/null 2>&1
done

uninstaller_ran() { [ -s "$c/record_st6unst.txt" ]; }
gone() { ! kill -0 "$1" 2>/dev/null; }

# Starts the wrapper with an argument string, exactly as written (through a
# batch file, so that no argument quoting of the loader changes it).
start() {
  rm -f "$c"/record_*.txt
  printf '@C:\\qmunins.exe%s\r\n' "${1:+ $1}" > "$c/run.bat"
  "$WINE" cmd /c 'C:\run.bat' >/dev/null 2>&1 &
  pid=$!
}

# --- no arguments: refused ----------------------------------------------------
cp "$recorder" "$c/windows/st6unst.exe"
start
check "no arguments: \"Cannot Run Directly\"" wait_for 30 window_exists "Cannot Run Directly"
sleep 0.5; xdotool key Return >/dev/null 2>&1
check "the wrapper ends" wait_for 20 gone "$pid"
check "nothing was started" bash -c "! [ -e '$c/record_st6unst.txt' ]"

# --- each way of closing the survey runs the uninstaller with the arguments --
args='/U "C:\Program Files\x\st6unst.log"  a b'
for how in yes no close; do
  start "$args"
  check "$how: survey window appears" wait_for 30 bash -c "xdotool search --name '^\$' >/dev/null && xdotool search --onlyvisible --class 'qmunins.exe' >/dev/null"
  sleep 0.5
  check "$how: uninstaller not yet started" bash -c "! [ -e '$c/record_st6unst.txt' ]"
  case $how in
    yes) xdotool key Return ;;
    no) xdotool key alt+n ;;
    close) xdotool key Escape ;;
  esac
  check "$how: uninstaller started" wait_for 20 uninstaller_ran
  got=$(head -n 1 "$c/record_st6unst.txt" 2>/dev/null | tr -d '\r\n')
  check "$how: arguments unchanged after one space ($got)" [ "$got" = "C:\\windows\\st6unst.exe $args" ]
  if [ $how = yes ]; then
    check "yes: browser opened" wait_for 20 test -s "$c/record_browser.txt"
    url=$(head -n 1 "$c/record_browser.txt" | tr -d '\r\n' | sed 's/^"[^"]*" *//')
    decoded=$(python3 -c 'import sys,urllib.parse;u=sys.argv[1];print(urllib.parse.unquote(u.split("?",1)[1]) if "?" in u else "",end="")' "$url")
    check "yes: address holds the survey page ($url)" bash -c "[[ '$url' == http://*/uninstall.htm\?* ]]"
    check "yes: address has no blank or quote" bash -c "! printf '%s' \"\$1\" | grep -q '[ \"]'" _ "$url"
    check "yes: the query decodes to the command line" [ "$decoded" = "$args" ]
  else
    check "$how: no browser" bash -c "! [ -e '$c/record_browser.txt' ]"
  fi
  wait_for 20 gone "$pid"
done

# --- a missing uninstaller is reported and the wrapper ends ------------------
rm -f "$c/windows/st6unst.exe"
start '/U x'
wait_for 30 bash -c "xdotool search --onlyvisible --class 'qmunins.exe' >/dev/null"
sleep 0.5; xdotool key alt+n
check "missing uninstaller: message appears" wait_for 30 window_exists "Tessaly Customizable Screen Saver"
sleep 0.5; xdotool key Return >/dev/null 2>&1
check "missing uninstaller: the wrapper ends" wait_for 20 gone "$pid"

rm -f "$c"/record_*.txt "$c/run.bat" "$c/qmunins.exe" "$c/browser.exe"
finish
