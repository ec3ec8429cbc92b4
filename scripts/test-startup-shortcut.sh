#!/usr/bin/env bash
# Command 32800 of the real QuorvelW, twice, in the prefix of the test run: the first creates
# "ぼれる.lnk" in the user's Startup folder, read back with liblnk's lnkinfo, the second
# removes it.
#   scripts/test-startup-shortcut.sh BIN-DIRECTORY
# BIN-DIRECTORY holds QuorvelW.exe, QuorvelL.dll and QuorvelPost.exe. Needs DISPLAY and the
# run's wineserver (scripts/wine-session).
set -euo pipefail
bin="$(cd "$1" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env
source "$here/wine-env"
app="$WINEPREFIX/drive_c/qv-startup-test"
rm -rf "$app"
mkdir -p "$app"
cp "$bin/QuorvelW.exe" "$bin/QuorvelL.dll" "$app/"
log="$app/wine.log"
post() { "$QV_WINE" "$bin/QuorvelPost.exe" "$@" </dev/null >>"$log" 2>&1; }
fail() { echo "FAIL: $*" >&2; cat "$log" >&2; exit 1; }

startup=("$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/[Ss]tart[Uu]p)
link="${startup[0]}/ぼれる.lnk"
rm -f "$link"
(cd "$app" && "$QV_WINE" 'C:\qv-startup-test\QuorvelW.exe' </dev/null >>"$log" 2>&1) &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$app"' EXIT

wait_for() {
  local i
  for i in $(seq 1 100); do
    eval "$1" && return 0
    sleep 0.1
  done
  return 1
}

post command 32800
wait_for '[ -f "$link" ]' || fail "no shortcut at $link"
info="$(lnkinfo "$link")"
echo "$info"
# A field of lnkinfo's report, as "Label<tabs>: value".
field() { sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" <<<"$info" | head -n1; }
expect() {
  [ "$(field "$1")" = "$2" ] || fail "lnkinfo shows $1 \"$(field "$1")\", not \"$2\""
}
expect 'Local path' 'C:\qv-startup-test\QuorvelW.exe'
expect 'Working directory' 'C:\qv-startup-test'
expect 'Description' 'ぼれる'
expect 'Icon location' 'C:\qv-startup-test\QuorvelW.exe'
expect 'Icon index' '0'

post command 32800
wait_for '[ ! -e "$link" ]' || fail "the second command left $link"
post command 57665
wait $pid || fail "QuorvelW ended with an error"
echo "PASS"
