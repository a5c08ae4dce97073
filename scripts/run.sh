#!/usr/bin/env bash
# Sets up, builds the 64-bit screen saver, installs it into a private Wine
# prefix the way a setup program would, and starts the full-screen show on
# the current display. Another switch may be given: `run.sh /c` opens the
# configuration window instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build build/win64 --target Tessaly

export WINEPREFIX=${TESSALY_PREFIX:-$HOME/.local/share/tessaly/prefix} WINEDEBUG=-all
WINE=/usr/lib/wine/wine64
[ -f "$WINEPREFIX/system.reg" ] || { mkdir -p "$WINEPREFIX"; "$WINE" wineboot -i; }
# Wine's own Tahoma, the dialog font of Windows, where Windows keeps its fonts.
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

# What a setup program does: the program and its help page into the system
# directory, the samples into the installation folder, then /INSTALL with
# that folder.
sysdir="$WINEPREFIX/drive_c/windows/system32"
inst="$WINEPREFIX/drive_c/Program Files/Tessaly"
mkdir -p "$inst"
cp build/win64/src/startup/Tessaly.scr build/win64/src/startup/TSCSS.htm "$sysdir/"
cp samples/*.jpg samples/*.wav "$inst/"
# The argument string must reach the program exactly as a setup program
# writes it; a batch file keeps Wine from quoting it again.
printf '@C:\\windows\\system32\\Tessaly.scr /INSTALL C:\\Program Files\\Tessaly\\\r\n' \
  > "$WINEPREFIX/drive_c/tessaly-install.bat"
"$WINE" cmd /c 'C:\tessaly-install.bat'
# The Display Properties applet the installation opens (this prefix's only).
"$WINE" taskkill /F /IM rundll32.exe >/dev/null 2>&1 || true
"$WINE" 'C:\windows\system32\Tessaly.scr' "${1:-/s}"
