#!/bin/sh
# The SDK zip as an author gets it:  sdk_test.sh SDK.zip WINERUN
# It holds exactly the promised files; the sample builds from the zip alone
# with the mingw-w64 command its README gives (warnings as errors), exports
# the two functions, and passes the zip's own wpncheck on every check, which
# fails it without its UnregisterClassA line; the zip's ostrelhost runs it
# through a copy of PanelBridge named after it.
set -eu
zip=$1 winerun=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
# Runs a Windows program; its output, without CRs, is left in $work/out.
run() {
  rc=0
  "$winerun" "$@" </dev/null >"$work/raw" 2>&1 || rc=$?
  tr -d '\r' <"$work/raw" >"$work/out"
  return $rc
}

unzip -q "$zip" -d "$work"
sdk=$work/$(basename "$zip" .zip)
[ -d "$sdk" ] || fail "no folder $(basename "$sdk") in the zip"
expected='README.txt LICENSE.txt bin/HelloPanel.wpn bin/wpncheck.exe bin/wpnhost.exe contract/WpnContract.h
docs/WRITING-A-PANEL.md docs/images/hello-panel.png ostrelhost/OstrelLib.dll ostrelhost/PanelBridge.dll
ostrelhost/ostrelhost.exe samples/hello-panel/HelloPanel.c samples/hello-panel/HelloPanel.def
samples/hello-panel/HelloPanel.ico'
got=$(cd "$sdk" && find . -type f -size +0 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
want=$(echo $expected | tr ' ' '\n' | LC_ALL=C sort | tr '\n' ' ')
[ "$got" = "$want" ] || fail "the zip holds: $got; expected: $want"

# The build command exactly as README.txt gives it, run where it says.
build=$(tr -d '\r' <"$sdk/README.txt" | sed -n 's/^    \(i686-w64-mingw32-gcc .*\)$/\1/p')
[ -n "$build" ] || fail "README.txt gives no mingw-w64 command"
rm "$sdk/bin/HelloPanel.wpn"
(cd "$sdk/samples/hello-panel" && eval "$build -Werror") || fail "the sample does not build: $build"
plugin=$sdk/samples/hello-panel/HelloPanel.wpn
exports=$(i686-w64-mingw32-objdump -p "$plugin" | grep -c -E '\] (WPN_GetPluginInfo|WPN_Initialize)$' || true)
[ "$exports" = 2 ] || fail "the rebuilt plug-in does not export WPN_GetPluginInfo and WPN_Initialize"

run "$sdk/bin/wpncheck.exe" "$(winpath "$plugin")" || fail "wpncheck: $(cat "$work/out")"
cat "$work/out"
grep -q ' 0 warned, 0 failed, 0 skipped: PASS$' "$work/out" || fail "wpncheck did not pass every check"

# The guide's warning made real: the sample with its UnregisterClassA line
# removed leaves its window class registered when it is unloaded, makes no
# panel when loaded again, and wpncheck fails it for that.
broken=$sdk/samples/broken
mkdir "$broken"
sed '/UnregisterClassA/d' "$sdk/samples/hello-panel/HelloPanel.c" >"$broken/HelloPanel.c"
! cmp -s "$broken/HelloPanel.c" "$sdk/samples/hello-panel/HelloPanel.c" || fail "the sample has no UnregisterClassA line"
cp "$sdk/samples/hello-panel/HelloPanel.def" "$broken/"
(cd "$broken" && eval "$build") || fail "the sample without UnregisterClassA does not build"
rc=0
run "$sdk/bin/wpncheck.exe" "$(winpath "$broken/HelloPanel.wpn")" || rc=$?
cat "$work/out"
[ $rc = 1 ] || fail "wpncheck exited with $rc on the sample without UnregisterClassA"
grep -q '^FAIL reload: create: PanelCreate returned null, though it made a panel in the first cycle: its window class "HelloPanel" was still registered' "$work/out" ||
  fail "wpncheck did not name the window class left registered"
grep -q '^FAIL reload: ticks: ' "$work/out" || fail "the reload's ticks, skipped, did not fail"
! grep -q '^SKIP ' "$work/out" || fail "a check was skipped instead of failed"
grep -q ': FAIL$' "$work/out" || fail "the summary does not say FAIL"

cp "$sdk/ostrelhost/PanelBridge.dll" "$sdk/ostrelhost/HelloPanel.dll"
mkdir -p "$sdk/ostrelhost/panel/wpn"
cp "$plugin" "$sdk/samples/hello-panel/HelloPanel.ico" "$sdk/ostrelhost/panel/wpn/"
run "$sdk/ostrelhost/ostrelhost.exe" --close-after 2500 "$(winpath "$sdk/ostrelhost/HelloPanel.dll")" ||
  fail "ostrelhost from the zip: $(cat "$work/out")"
echo "PASS: the SDK's contents, its sample built from it alone, wpncheck and ostrelhost from it"
