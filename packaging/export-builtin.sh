#!/bin/sh
# export-builtin.sh RUNNER TUFTLINGART.exe OUT.txt: the built-in drawings as an
# art file, written by TuftlingArt under Wine (RUNNER selects the build's
# prefix). Wine's helpers must not hold the build's output open, so every
# stream of theirs goes to /dev/null.
set -eu
runner=$1 tool=$2 out=$3
rm -f "$out"
windows_out="Z:$(printf '%s' "$out" | sed 's#/#\\#g')"
"$runner" "$tool" export-builtin "$windows_out" >/dev/null 2>&1 </dev/null
test -s "$out"
