#!/bin/sh
# Lays out the package folder a Windows user unpacks:
#   stage.sh OUTDIR VERSION PLUGIN.wpn PANELBRIDGE.dll ICON.ico ARTTOOL.exe BRIDGECHECK.exe [BUILTIN.txt]
# The adaptor ships twice: ready under the plug-in's file title, and under its
# own name to copy for other plug-ins. The sample art becomes cp932 under a
# name of its own (the panel reads TuftlingAA.txt only when the user copies it
# so), and the texts get CR LF line ends. The built-in drawings' art file,
# when given, ships beside the sample as a starting point for authors.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$1 version=$2 plugin=$3 bridge=$4 icon=$5 arttool=$6 bridgecheck=$7 builtin=${8:-}
rm -rf "$out"
mkdir -p "$out"
cp "$plugin" "$out/TuftlingPanel.wpn"
cp "$bridge" "$out/TuftlingPanel.dll"
cp "$bridge" "$out/PanelBridge.dll"
cp "$icon" "$out/TuftlingPanel.ico"
cp "$arttool" "$out/TuftlingArt.exe"
cp "$bridgecheck" "$out/bridgecheck.exe"
[ -z "$builtin" ] || cp "$builtin" "$out/TuftlingAA-builtin.txt"
iconv -f UTF-8 -t CP932 "$here/TuftlingAA-sample.utf8.txt" | sed 's/$/\r/' > "$out/TuftlingAA-sample.txt"
# The guides stay UTF-8 with a byte order mark and CR LF: Notepad on any
# Windows, a Japanese one included, reads that as UTF-8 (without the mark an
# older Notepad would take the Japanese for the system's code page 932, and
# code page 932 itself would show as garbage on a Western system). They name
# the build's version where the source says @VERSION@.
text() {
  { printf '\357\273\277'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$1"; } > "$2"
}
text "$here/INSTALL.txt" "$out/INSTALL.txt"
text "$here/INSTALL-ja.txt" "$out/INSTALL-ja.txt"
text "$here/../CHANGES.txt" "$out/CHANGES.txt"
sed 's/$/\r/' "$here/../LICENSE" > "$out/LICENSE.txt"
