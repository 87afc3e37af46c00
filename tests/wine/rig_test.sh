#!/usr/bin/env bash
# The rig itself: a prefix of its own with no way out to the real home, and
# a stale record of an Xvfb process id that now names someone else's
# process is neither adopted nor stopped.
#   rig_test.sh WINE-RUN
set -u
run=$1
state=$(mktemp -d "${TMPDIR:-/tmp}/saverhelper-rig.XXXXXX")
export SAVERHELPER_WINE_STATE="$state"
failures=0
# check DESCRIPTION COMMAND...
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# An unrelated process, and a record that names it as our X server.
sleep 600 &
unrelated=$!
mkdir -p "$state"
echo "97 $unrelated" >"$state/x"

"$run" cmd.exe /c exit 0 >/dev/null 2>&1
check "a program ran" test $? -eq 0
check "the unrelated process survives a run" kill -0 "$unrelated"
"$run" --stop
check "the unrelated process survives --stop" kill -0 "$unrelated"

prefix=$("$run" --prefix)
users="$prefix/drive_c/users"
check "the prefix has user folders" test -d "$users"
leaks=$(find "$users" -type l -exec readlink -f {} \; | grep -v "^$prefix/" || true)
check "no user folder leads out of the prefix" test -z "$leaks"
documents=$(find "$users" -mindepth 2 -maxdepth 2 -name Documents -type d | grep -v /Public/ | head -n 1)
check "the user's documents folder is a real folder" test -n "$documents"

# A prefix made by an older rig, with its links to the home, is sealed before use.
old=$(find "$users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
rmdir "$old/Music" 2>/dev/null || rm -rf "$old/Music"
ln -s "$HOME" "$old/Music"
"$run" cmd.exe /c exit 0 >/dev/null 2>&1
check "an old link to the home is replaced before use" test ! -L "$old/Music"
"$run" --stop

kill "$unrelated" 2>/dev/null
wait "$unrelated" 2>/dev/null
rm -rf "$state"
[ "$failures" -eq 0 ]
