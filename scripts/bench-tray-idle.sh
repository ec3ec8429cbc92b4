#!/usr/bin/env bash
# QuorvelW idle in the tray against a minimal tray program (one hidden window, one tray icon),
# both started under Wine and left alone for the same time: the processor time each used and
# the private memory each holds at the end, as Linux counts them for the Wine processes (Wine
# reports neither for another process), and their ratios. Figures, not a timed test.
#   scripts/bench-tray-idle.sh BIN-DIRECTORY [SECONDS]
# Needs the run's Wine session (scripts/wine-session). BIN-DIRECTORY holds QuorvelW.exe,
# QuorvelL.dll, QuorvelPost.exe and quorvel_minimal_tray.exe.
set -euo pipefail
bin="$(cd "$1" && pwd)"
seconds="${2:-60}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env
source "$here/wine-env"
folder="$(mktemp -d "$here/../build/tray-idle.XXXXXX")"
cp "$bin/QuorvelW.exe" "$bin/QuorvelL.dll" "$folder/"

# The Wine loader runs the program in the process it starts as.
"$QV_WINE" "$folder/QuorvelW.exe" >/dev/null 2>&1 </dev/null &
quorvel=$!
"$QV_WINE" "$bin/quorvel_minimal_tray.exe" >/dev/null 2>&1 </dev/null &
minimal=$!
"$QV_WINE" "$bin/QuorvelPost.exe" command 0 >/dev/null 2>&1 </dev/null  # waits for the window
sleep 3  # start-up is not idle time

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
private_kb() { awk '/^Private_(Clean|Dirty):/ { sum += $2 } END { print sum }' "/proc/$1/smaps_rollup"; }

q0="$(ticks "$quorvel")"
m0="$(ticks "$minimal")"
sleep "$seconds"
q1="$(ticks "$quorvel")"
m1="$(ticks "$minimal")"
qmem="$(private_kb "$quorvel")"
mmem="$(private_kb "$minimal")"

"$QV_WINE" "$bin/QuorvelPost.exe" command 57665 >/dev/null 2>&1 </dev/null || true
kill "$minimal" 2>/dev/null || true
wait "$quorvel" "$minimal" 2>/dev/null || true
rm -rf "$folder"

hz="$(getconf CLK_TCK)"
awk -v s="$seconds" -v hz="$hz" -v qc="$((q1 - q0))" -v mc="$((m1 - m0))" -v qm="$qmem" \
  -v mm="$mmem" 'BEGIN {
  # A time below one clock tick counts as one tick, so that the ratio stays finite.
  q = qc < 1 ? 1 : qc; m = mc < 1 ? 1 : mc
  printf "tray idle for %d s              CPU time   private memory\n", s
  printf "  QuorvelW                  %8.0f ms  %10d KB\n", qc * 1000 / hz, qm
  printf "  minimal tray program      %8.0f ms  %10d KB\n", mc * 1000 / hz, mm
  printf "  ratio                     %8.2f (goal <= 1.5)  %5.2f (goal <= 3)\n", q / m, qm / mm
}'
