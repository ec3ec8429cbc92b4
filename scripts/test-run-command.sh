#!/usr/bin/env bash
# The README's first command as a newcomer runs it: scripts/run.sh without a display starts
# QuorvelW on a virtual one. The check waits until the display shows the program's window (by
# its title, with xwininfo: no second Wine process may start while a new prefix is being made),
# closes it from outside with the exit command (QuorvelPost finds it by its class
# "QuorvelClass") and expects run.sh to end cleanly. Run before the shared Wine session of the
# tests starts.
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
shown() { [[ "$(DISPLAY="$display" xwininfo -root -tree 2>/dev/null)" == *'"QuorvelW - '* ]]; }
if [ -n "$display" ]; then
  for _ in $(seq 1 600); do
    shown && break
    kill -0 "$run" 2>/dev/null || break
    sleep 0.2
  done
fi
if [ -z "$display" ] || ! shown || ! DISPLAY="$display" "$QV_WINE" \
  build/mingw-x64/bin/QuorvelPost.exe command 57665 </dev/null >>"$out" 2>&1; then
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
