#!/bin/sh
# Lays out the package folder a Windows user unpacks:
#   stage.sh OUTDIR PLUGIN.wpn PANELBRIDGE.dll ICON.ico ARTTOOL.exe BRIDGECHECK.exe [BUILTIN.txt]
# The adaptor takes the plug-in's file title; the sample art becomes cp932
# under a name of its own (the panel reads TuftlingAA.txt only when the user
# copies it so), and the texts get CR LF line ends. The built-in drawings' art
# file, when given, ships beside the sample as a starting point for authors.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$1 plugin=$2 bridge=$3 icon=$4 arttool=$5 bridgecheck=$6 builtin=${7:-}
rm -rf "$out"
mkdir -p "$out"
cp "$plugin" "$out/TuftlingPanel.wpn"
cp "$bridge" "$out/TuftlingPanel.dll"
cp "$icon" "$out/TuftlingPanel.ico"
cp "$arttool" "$out/TuftlingArt.exe"
cp "$bridgecheck" "$out/bridgecheck.exe"
[ -z "$builtin" ] || cp "$builtin" "$out/TuftlingAA-builtin.txt"
iconv -f UTF-8 -t CP932 "$here/TuftlingAA-sample.utf8.txt" | sed 's/$/\r/' > "$out/TuftlingAA-sample.txt"
# INSTALL.txt stays UTF-8 (with a byte order mark, so Notepad reads it right).
{ printf '\357\273\277'; sed 's/$/\r/' "$here/INSTALL.txt"; } > "$out/INSTALL.txt"
sed 's/$/\r/' "$here/../LICENSE" > "$out/LICENSE.txt"
