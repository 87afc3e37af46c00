#!/usr/bin/env bash
# Checks, from Wine's relay trace, which system calls DefaultSaver makes and
# in what order.
set -u
wine_run=$1
exe=${SAVERHELPER_EXE:-$2}  # another build of it, when named
trace=$(mktemp)
trap 'rm -f "$trace"' EXIT

WINEDEBUG=+relay "$wine_run" "$exe" DefaultSaver 2>"$trace"
rc=$?
fail=0
[ "$rc" -eq 0 ] || { echo "exit code $rc, expected 0"; fail=1; }

# Only the calls the program itself makes: their return address lies in its image.
calls=$(grep -E 'ret=0040[0-9a-f]{4}' "$trace" | grep -oE 'Call [A-Za-z0-9_]+\.(GetWindowsDirectoryA|RegOpenKeyExA|RegSetValueExA|BroadcastSystemMessageA|RegCloseKey|LoadLibraryA)\([^)]*\)' |
        sed -E 's/^Call [A-Za-z0-9_]+\.//')
echo "$calls"
order=$(echo "$calls" | sed -E 's/\(.*//' | uniq | tr '\n' ' ')
expected="GetWindowsDirectoryA RegOpenKeyExA RegSetValueExA BroadcastSystemMessageA RegCloseKey "
if [ "$order" != "$expected" ]; then
  echo "call order: $order"
  echo "expected:   $expected"
  fail=1
fi
# HKEY_CURRENT_USER, the desktop subkey, KEY_ALL_ACCESS
echo "$calls" | grep -qE '^RegOpenKeyExA\(80000001,[0-9a-f]+ "Control Panel\\\\Desktop",00000000,000f003f,' ||
  { echo "RegOpenKeyExA arguments differ"; fail=1; }
# value name, reserved 0, REG_SZ, size with the terminator: "C:\windows\Halven~1.scr" is 23 characters
echo "$calls" | grep -qE '^RegSetValueExA\([0-9a-f]+,[0-9a-f]+ "SCRNSAVE.EXE",00000000,00000001,[0-9a-f]+,00000018\)' ||
  { echo "RegSetValueExA arguments differ"; fail=1; }
# flags 0, WM_WININICHANGE, both parameters 0
echo "$calls" | grep -qE '^BroadcastSystemMessageA\(00000000,[0-9a-f]+,0000001a,00000000,00000000\)' ||
  { echo "BroadcastSystemMessageA arguments differ"; fail=1; }
if grep -qiE 'shfolder' "$trace"; then echo "SHFolder.dll was touched"; fail=1; fi
[ $fail -eq 0 ] && echo "DefaultSaver trace: calls and order as expected"
exit $fail
