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

finish() {
  echo "$PASSED passed, $FAILED failed"
  [ "$FAILED" -eq 0 ]
}
