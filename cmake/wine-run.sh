#!/usr/bin/env bash
# Runs a cross-built test program under Wine. Wine's console handling can
# block when its output is a pipe, so the output goes through a file.
out=$(mktemp)
/usr/lib/wine/wine64 "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
