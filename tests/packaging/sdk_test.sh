#!/bin/sh
# The SDK zip as an author gets it:  sdk_test.sh SDK.zip WINERUN
# It holds exactly the promised files; the sample builds from the zip alone
# with the mingw-w64 command its README gives (warnings as errors), exports
# the two functions, and passes the zip's own wpncheck on every check, which
# fails it without its UnregisterClassA line; another greeting builds too, and
# a build without the code page flag stops naming the cure; the README's Linux
# commands, run as written, give wpncheck's own exit code; the zip's
# ostrelhost runs it through a copy of PanelBridge named after it.
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

# The code page check measures the compiler, not the greeting: another
# greeting builds and is stored in code page 932; without the flag the build
# stops at the check, whose name says what to add.
greeting=$sdk/samples/greeting
mkdir "$greeting"
cp "$sdk/samples/hello-panel/HelloPanel.def" "$greeting/"
sed 's/こんにちは/ようこそ、Tuftlingへ/' "$sdk/samples/hello-panel/HelloPanel.c" >"$greeting/HelloPanel.c"
(cd "$greeting" && eval "$build -Werror") || fail "the sample with another greeting does not build"
printf '\202\346\202\244\202\261\202\273\201\101Tuftling\202\326' >"$work/greeting"
LC_ALL=C grep -q -F -f "$work/greeting" -a "$greeting/HelloPanel.wpn" || fail "the new greeting is not stored in code page 932"
nocp=$(printf '%s' "$build" | sed 's/ -fexec-charset=CP932//')
[ "$nocp" != "$build" ] || fail "the README's build command has no -fexec-charset=CP932"
! (cd "$greeting" && eval "$nocp" >"$work/nocp" 2>&1) || fail "the sample builds without the code page flag"
grep -q 'LiteralsMustBeCodePage932_UseFexecCharsetCP932' "$work/nocp" ||
  fail "a build without the code page flag does not say what to add: $(cat "$work/nocp")"

# The README's Linux commands exactly as written, in a Wine prefix of their
# own under a scratch HOME: the wpncheck line's exit code is wpncheck's, 1 for
# the plug-in without UnregisterClassA put where the line looks, 0 for the sample.
readme_lines() { tr -d '\r' <"$sdk/README.txt" | sed -n "s#^    \(\($1\).*\)\$#\1#p"; }
setup=$(readme_lines 'export WINEPREFIX=\|export WINEDLLOVERRIDES=\|unset LC_ALL')
check=$(readme_lines "xvfb-run -a sh -c 'wine bin/wpncheck.exe")
[ -n "$check" ] && [ "$(printf '%s\n' "$setup" | wc -l)" = 3 ] || fail "README.txt gives no Linux wpncheck command"
cp "$plugin" "$work/good.wpn"
cp "$broken/HelloPanel.wpn" "$plugin"
for want in 1 0; do
  rc=0
  (cd "$sdk" && HOME=$work && eval "$setup" && eval "$check") </dev/null >"$work/readme" 2>&1 || rc=$?
  [ $rc = $want ] || fail "the README's command exited with $rc, not $want: $check; $(tr -d '\r' <"$work/readme")"
  cp "$work/good.wpn" "$plugin"
done
rm -rf "$work/.wine-tuftling"

cp "$sdk/ostrelhost/PanelBridge.dll" "$sdk/ostrelhost/HelloPanel.dll"
mkdir -p "$sdk/ostrelhost/panel/wpn"
cp "$plugin" "$sdk/samples/hello-panel/HelloPanel.ico" "$sdk/ostrelhost/panel/wpn/"
run "$sdk/ostrelhost/ostrelhost.exe" --close-after 2500 "$(winpath "$sdk/ostrelhost/HelloPanel.dll")" ||
  fail "ostrelhost from the zip: $(cat "$work/out")"
echo "PASS: the SDK's contents, its sample built from it alone, wpncheck and ostrelhost from it"
