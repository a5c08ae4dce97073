# Shared helpers of the end-to-end scripts. The runner provides WINEPREFIX
# (a private, initialised prefix), DISPLAY (an Xvfb display) and a running
# persistent wineserver.
WINE=${WINE:-/usr/lib/wine/wine64}
export WINEDEBUG=-all
PASSED=0
FAILED=0

check() {  # check "description" command...
  local what=$1; shift
  if "$@"; then PASSED=$((PASSED + 1)); echo "ok   - $what"
  else FAILED=$((FAILED + 1)); echo "FAIL - $what"; fi
}

# Polls a command until it succeeds or the deadline (seconds) passes.
wait_for() {
  local deadline=$(( $(date +%s) + $1 )); shift
  until "$@"; do
    [ "$(date +%s)" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

window_exists() { xdotool search --name "^$1\$" >/dev/null 2>&1; }

# Sends keys to the visible window of that title. Without a window manager
# the X server's keyboard focus stays where it was put, by default with the
# window under the pointer (wherever an earlier test left it), so the window
# is given the focus first. Fails when there is no such window.
keys_to() {  # keys_to TITLE KEY...
  local title=$1 window; shift
  window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
  [ -n "$window" ] || return 1
  xdotool windowfocus "$window" >/dev/null 2>&1
  xdotool key "$@" >/dev/null 2>&1
}
alive() { kill -0 "$1" 2>/dev/null; }
gone() { ! kill -0 "$1" 2>/dev/null; }

# The program's stored lists and options, under the key $APP of the script.
# entry NAME: a 512-character play-list entry for C:\Pics\NAME.
entry() { printf '%-255s%-257s' "$1" 'C:\Pics\'; }

add_list() {  # add_list SECTION NAME...
  local section=$1 i=0; shift
  for name in "$@"; do
    "$WINE" reg add "$APP\\$section" /v "File$i" /d "$(entry "$name")" /f >/dev/null
    i=$((i + 1))
  done
}

option() { "$WINE" reg add "$APP\\Options" /v "$1" /d "$2" /f >/dev/null; }
stored() {  # stored NAME: the text of an option value, "" when missing
  "$WINE" reg query "$APP\\Options" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v n="$1" '$1 == n { print $3 }'
}

# Colours as "r g b": within the tolerance of each other.
near() {  # near "r g b" "r g b" tolerance
  python3 -c 'import sys
a=[int(v) for v in sys.argv[1].split()]; b=[int(v) for v in sys.argv[2].split()]
sys.exit(0 if max(abs(x-y) for x,y in zip(a,b)) <= int(sys.argv[3]) else 1)' "$1" "$2" "$3"
}

finish() {
  echo "$PASSED passed, $FAILED failed"
  [ "$FAILED" -eq 0 ]
}
