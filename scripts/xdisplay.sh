# start_x VAR COMMAND ARGS...: starts an X server (Xvfb, or Xephyr inside
# another display) on a display number the server chooses itself
# (-displayfd), waits until it is up, and sets VAR to its display (":N") and
# VAR_pid to its process. Fails when the server does not come up in 30 s.
start_x() {
  local var=$1 file; shift
  file=$(mktemp /tmp/tessaly-display.XXXXXX)
  "$@" -displayfd 3 3>"$file" >/dev/null 2>&1 &
  local pid=$! deadline=$((SECONDS + 30))
  until [ -s "$file" ]; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 "$pid" 2>/dev/null; then
      rm -f "$file"
      return 1
    fi
    sleep 0.05
  done
  printf -v "$var" ':%s' "$(head -n 1 "$file")"
  printf -v "${var}_pid" '%s' "$pid"
  rm -f "$file"
}
