#!/usr/bin/env bash
# Makes a screenshot of the configuration window with the bundled samples:
# installs into a fresh private prefix on a private Xvfb display, opens
# /c, waits until the preview shows a picture, and writes the screen to the
# file given (default: config-window.png). A second argument opens one of
# the configuration window's windows first, from its menus, as a user does:
#   screenshot-config.sh out.png [options | about]
# (Help opens the help page in the web browser, not in a window of its own.)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-config-window.png}")
what=${2:-}
case $what in
  "") ;;
  options) keys="F10 Right Return o"; title="Screen Saver Options" ;;  # Play List, Options...
  about) keys="alt+h a"; title="About Tessaly Customizable Screen Saver" ;;
  *) echo "screenshot-config.sh: no window \"$what\" (options or about)" >&2; exit 2 ;;
esac
work=$(mktemp -d /tmp/tessaly-shot.XXXXXX)
. "$root/scripts/xdisplay.sh"
cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_x display Xvfb -screen 0 1024x768x24 -nolisten tcp || { echo "Xvfb did not start" >&2; exit 1; }
xvfb=$display_pid
export DISPLAY=$display TESSALY_PREFIX="$work/prefix" WINEPREFIX="$work/prefix" WINEDEBUG=-all
# Without a window manager Wine draws the window frames itself, caption
# included, when told to.
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
bash "$root/scripts/run.sh" /c >/dev/null 2>&1 &
for _ in $(seq 1 300); do
  xdotool search --onlyvisible --name '^Screen Saver Properties$' >/dev/null 2>&1 && break
  sleep 0.2
done
xdotool mousemove 5 5
# The preview's first picture comes half a second after the window; it is
# up once its position is stored.
APP='HKCU\Software\Quillmark Inc.\Tessaly Customizable Screen Saver\Options'
for _ in $(seq 1 150); do
  /usr/lib/wine/wine64 reg query "$APP" /v LastPicture >/dev/null 2>&1 && break
  sleep 0.2
done
if [ -n "$what" ]; then
  config=$(xdotool search --onlyvisible --name '^Screen Saver Properties$' | head -n 1)
  for _ in $(seq 1 10); do
    xdotool windowfocus "$config" key $keys >/dev/null 2>&1 || true
    for _ in $(seq 1 15); do
      xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 && break 2
      sleep 0.2
    done
  done
  xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 || { echo "no window \"$title\"" >&2; exit 1; }
  sleep 1
fi
import -window root "$out"
echo "wrote $out"
