#!/usr/bin/env bash
# The layout of every window (layout_tests) under three dialog fonts of
# different metrics, each at 96 and at 192 DPI:
#   - Wine's Tahoma, installed into the prefix's Fonts folder (Wine itself
#     does not load the copy fonts-wine puts in its data folder);
#   - DejaVu Sans, clearly wider, and Liberation Sans Narrow, clearly
#     narrower (its dialog units are smaller than the texts in fonts of
#     their own, the pictures and the glyphs), each put in place of the
#     dialog font ("MS Shell Dlg", "MS Shell Dlg 2", "Tahoma") through the
#     prefix's font replacements.
# It runs in a copy of the runner's prefix with a wineserver of its own, so
# the runner's prefix stays as it was, and checks from each run's report
# that the font and the DPI really were the ones set.
#
# Usage: layout_test.sh LAYOUT_TESTS_EXE
# Needs WINEPREFIX (initialised), DISPLAY and WINE (the loader of the build).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/lib.sh"
exe=$1
: "${WINEPREFIX:?WINEPREFIX must name an initialised prefix}" "${DISPLAY:?DISPLAY must name an X display}"
tahoma_dir=/usr/share/wine/fonts
wide_face="DejaVu Sans"
narrow_face="Liberation Sans Narrow"

run=$(mktemp -d /tmp/tessaly-layout.XXXXXX)
cleanup() {
  WINEPREFIX=$run/prefix wineserver -k >/dev/null 2>&1
  rm -rf "$run"
}
trap cleanup EXIT

check "Wine's Tahoma is installed ($tahoma_dir/tahoma.ttf)" test -f "$tahoma_dir/tahoma.ttf"
check "the wider font is installed ($wide_face)" fc-list -q "$wide_face"
check "the narrower font is installed ($narrow_face)" fc-list -q "$narrow_face"

cp -a "$WINEPREFIX" "$run/prefix"
export WINEPREFIX=$run/prefix
# A persistent wineserver of the copy's own; it puts itself in the
# background once it is up, so every command after it finds it.
wineserver -p >/dev/null 2>&1
fonts=$WINEPREFIX/drive_c/windows/Fonts
REPLACEMENTS='HKCU\Software\Wine\Fonts\Replacements'

# value KEY NAME: the data of a registry value as reg shows it, "" when it
# is missing.
value() {
  "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -F '    ' -v n="$2" '$2 == n { print $4 }'
}

# settings FONT DPI: whether the prefix's registry has the dialog font's
# replacements and the DPI of the run.
settings() {
  local face=""
  [ "$1" = wide ] && face=$wide_face
  [ "$1" = narrow ] && face=$narrow_face
  for name in "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
    [ "$(value "$REPLACEMENTS" "$name")" = "$face" ] || return 1
  done
  [ "$(value 'HKCU\Control Panel\Desktop' LogPixels)" = "$(printf '0x%x' "$2")" ]
}

# use FONT DPI: the dialog font (tahoma, wide or narrow) and the DPI of the
# next run, read back from the registry. Each program reads both when it
# starts, so the wineserver keeps running. A write that did not take (seen
# once on a loaded machine: the next run found the DPI before) is made again,
# up to three times.
use() {
  local attempt
  for attempt in 1 2 3; do
    write_settings "$1" "$2"
    settings "$1" "$2" && return 0
    echo "#   $1 at $2 DPI: the registry did not hold the settings after write $attempt"
  done
  return 1
}

write_settings() {
  if [ "$1" = tahoma ]; then
    mkdir -p "$fonts"
    cp "$tahoma_dir/tahoma.ttf" "$tahoma_dir/tahomabd.ttf" "$fonts/"
    "$WINE" reg delete "$REPLACEMENTS" /f >/dev/null 2>&1
  else
    local replacement=$wide_face
    [ "$1" = narrow ] && replacement=$narrow_face
    rm -f "$fonts/tahoma.ttf" "$fonts/tahomabd.ttf"
    for face in "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
      "$WINE" reg add "$REPLACEMENTS" /v "$face" /d "$replacement" /f >/dev/null
    done
  fi
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null
}

# layout FONT DPI: runs layout_tests; its report line is kept as
# report_FONT_DPI, and the whole log is shown when it fails.
layout() {
  local log=$run/$1-$2.log rc
  TESSALY_LAYOUT_DPI=$2 timeout 300 "$WINE" "$exe" </dev/null >"$log" 2>&1
  rc=$?
  tr -d '\r' <"$log" >"$log.txt"
  local report
  report=$(sed -n 's/^# layout: //p' "$log.txt" | head -n 1)
  eval "report_$1_$2=\"\$report\""
  echo "# $1 at $2 DPI: ${report:-no report}"
  if [ "$rc" -ne 0 ]; then
    echo "#   layout_tests ended with $rc"
    grep -vE '^(\[( RUN      |       OK |----------)\].*)?$' "$log.txt" | sed 's/^/#   /'
    return 1
  fi
}

# field REPORT NAME: a number of the report ("alphabet", "units" for the
# horizontal base unit, "px" for the font's height).
field() {
  local value
  case $2 in
    alphabet) value=$(sed -nE 's/.*alphabet ([0-9]+) px.*/\1/p' <<<"$1") ;;
    units) value=$(sed -nE 's/.*base units ([0-9]+) x.*/\1/p' <<<"$1") ;;
    px) value=$(sed -nE 's/.*\) ([0-9]+) px, alphabet.*/\1/p' <<<"$1") ;;
  esac
  echo "${value:-0}"
}

for font in tahoma wide narrow; do
  for dpi in 96 192; do
    check "$font at $dpi DPI: the font and the DPI are set" use "$font" "$dpi"
    check "$font at $dpi DPI: every window holds" layout "$font" "$dpi"
  done
done

# The runs really had the fonts and DPIs set.
for dpi in 96 192; do
  eval "t=\$report_tahoma_$dpi w=\$report_wide_$dpi n=\$report_narrow_$dpi"
  check "$dpi DPI: the first run's dialog font is Wine's Tahoma" grep -qi tahoma <<<"$t"
  check "$dpi DPI: the second run's dialog font is $wide_face" grep -qF "$wide_face" <<<"$w"
  check "$dpi DPI: the third run's dialog font is $narrow_face" grep -qF "$narrow_face" <<<"$n"
  check "$dpi DPI: $wide_face is wider (alphabet $(field "$w" alphabet) px against $(field "$t" alphabet) px)" \
    test "$(field "$w" alphabet)" -gt $(($(field "$t" alphabet) * 105 / 100))
  check "$dpi DPI: $narrow_face is narrower (alphabet $(field "$n" alphabet) px)" \
    test "$(field "$n" alphabet)" -gt 0 -a "$(field "$n" alphabet)" -lt $(($(field "$t" alphabet) * 95 / 100))
  check "$dpi DPI: and so the dialog units differ ($(field "$w" units), $(field "$t" units), $(field "$n" units))" \
    test "$(field "$w" units)" -gt "$(field "$t" units)" -a "$(field "$n" units)" -lt "$(field "$t" units)" \
    -a "$(field "$n" units)" -gt 0
done
check "192 DPI: the dialog font is about twice as tall as at 96 DPI" python3 -c "import sys
a, b = $(field "$report_tahoma_96" px), $(field "$report_tahoma_192" px)
sys.exit(0 if a > 0 and 1.7 <= b / a <= 2.3 else 1)"

finish
