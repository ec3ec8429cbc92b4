#!/usr/bin/env bash
# Builds the window program QuorvelW and starts it under Wine. Arguments go to the program
# ("-c", "-p[LEVEL]", "-q"). Without a display it runs on a virtual one (Xvfb).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/deps.sh run
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 -j "$(nproc)" --target QuorvelW
# shellcheck source=wine-env
source scripts/wine-env
if [ -z "${DISPLAY:-}" ]; then
  fdfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$fdfile"' EXIT
  for _ in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  echo "no display: QuorvelW runs on the virtual display $DISPLAY"
fi
# The lines of a command-line pass come as code page 932 bytes; a terminal gets them as UTF-8.
if [ -t 1 ]; then
  "$QV_WINE" build/mingw-x64/bin/QuorvelW.exe "$@" | iconv -f CP932 -t UTF-8
else
  "$QV_WINE" build/mingw-x64/bin/QuorvelW.exe "$@"
fi
