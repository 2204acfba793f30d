#!/bin/sh
# Lays out the plug-in author's kit and zips it:
#   stage-sdk.sh OUTDIR ZIP WPNHOST WPNCHECK OSTRELHOST OSTRELLIB PANELBRIDGE HELLOPANEL HELLOICON
# OUTDIR's last name becomes the one folder inside the zip. The header, the
# sample's sources and the guide are copied from this tree as they are;
# README.txt gets CR LF line ends and a byte order mark, for Notepad, and
# LICENSE.txt CR LF line ends.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=$1 zip=$2
rm -rf "$out" "$zip"
mkdir -p "$out/bin" "$out/ostrelhost" "$out/contract" "$out/docs/images" "$out/samples/hello-panel"
cp "$3" "$4" "$out/bin/"
cp "$5" "$6" "$7" "$out/ostrelhost/"
cp "$8" "$out/bin/HelloPanel.wpn"
cp "$root/contract/WpnContract.h" "$out/contract/"
cp "$root/samples/hello-panel/HelloPanel.c" "$root/samples/hello-panel/HelloPanel.def" "$9" "$out/samples/hello-panel/"
cp "$root/docs/WRITING-A-PANEL.md" "$out/docs/"
cp "$root/docs/images/hello-panel.png" "$out/docs/images/"
{ printf '\357\273\277'; sed 's/$/\r/' "$root/packaging/SDK-README.txt"; } > "$out/README.txt"
sed 's/$/\r/' "$root/LICENSE" > "$out/LICENSE.txt"
cd "$(dirname "$out")"
zip -q -r -X "$zip" "$(basename "$out")"
