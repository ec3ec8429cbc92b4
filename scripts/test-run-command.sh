#!/usr/bin/env bash
# The README's first command as a newcomer runs it: scripts/run.sh without a display starts
# QuorvelW on a virtual one; the check waits until its main window has entered its mode (found
# by its class "QuorvelClass" through QuorvelPost), closes it with the exit command, and
# expects run.sh to end cleanly. Run before the shared Wine session of the tests starts.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
# shellcheck source=wine-env
source scripts/wine-env
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
env -u DISPLAY timeout 180 scripts/run.sh >"$out" 2>&1 &
run=$!
display=""
for _ in $(seq 1 600); do
  display="$(sed -n 's/^no display: QuorvelW runs on the virtual display \(:[0-9]*\)$/\1/p' "$out")"
  [ -n "$display" ] && break
  kill -0 "$run" 2>/dev/null || break
  sleep 0.2
done
if [ -z "$display" ] || ! DISPLAY="$display" "$QV_WINE" build/mingw-x64/bin/QuorvelPost.exe \
  command 57665 </dev/null >>"$out" 2>&1; then
  kill "$run" 2>/dev/null || true
  cat "$out"
  echo "FAIL: scripts/run.sh showed no QuorvelW window"
  exit 1
fi
if ! wait "$run"; then
  cat "$out"
  echo "FAIL: scripts/run.sh did not end cleanly after the exit command"
  exit 1
fi
"$QV_WINESERVER" -w
echo "scripts/run.sh started QuorvelW on $display, which closed on its exit command"
