#!/usr/bin/env bash
# Runs a cross-built test program under Wine: wine-run.sh LOADER PROGRAM ARGS...
# (LOADER is /usr/lib/wine/wine64 for the x86_64 build, /usr/lib/wine/wine
# for the i686 build). Wine's console handling can block when its output is
# a pipe, so the output goes through a file.
loader=$1; shift
out=$(mktemp)
"$loader" "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
