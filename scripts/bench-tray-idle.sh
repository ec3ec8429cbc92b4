#!/usr/bin/env bash
# QuorvelW idle in the tray against a minimal tray program (one hidden window, one tray icon),
# both started under Wine and left alone: the processor time each used and the private memory
# each holds, as Linux counts them for the Wine processes (Wine reports neither for another
# process): the pages written by the process alone (private dirty), which is what Windows counts
# as private bytes once committed; clean pages of mapped files are left out. Then their ratios. First over the first 75 s, which hold QuorvelW's first minute
# tick and the pass that its default conditions start then ("at program start"), then over
# SECONDS (60 by default) of idle time after it. Figures, not a timed test.
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

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
private_kb() { awk '/^Private_Dirty:/ { print $2 }' "/proc/$1/smaps_rollup"; }

report() {
  awk -v label="$1" -v qc="$2" -v mc="$3" -v qm="$4" -v mm="$5" -v hz="$(getconf CLK_TCK)" 'BEGIN {
    # A time below one clock tick counts as one tick, so that the ratio stays finite.
    q = qc < 1 ? 1 : qc; m = mc < 1 ? 1 : mc
    printf "%s\n", label
    printf "  QuorvelW                  %8.0f ms  %10d KB\n", qc * 1000 / hz, qm
    printf "  minimal tray program      %8.0f ms  %10d KB\n", mc * 1000 / hz, mm
    printf "  ratio                     %8.2f (goal <= 1.5)  %5.2f (goal <= 3)\n", q / m, qm / mm
  }'
}

q0="$(ticks "$quorvel")"
m0="$(ticks "$minimal")"
sleep 75
q1="$(ticks "$quorvel")"
m1="$(ticks "$minimal")"
report "first 75 s in the tray, with the start-up pass        CPU time   private memory" \
  "$((q1 - q0))" "$((m1 - m0))" "$(private_kb "$quorvel")" "$(private_kb "$minimal")"
sleep "$seconds"
q2="$(ticks "$quorvel")"
m2="$(ticks "$minimal")"
report "idle in the tray for the next $seconds s                  CPU time   private memory" \
  "$((q2 - q1))" "$((m2 - m1))" "$(private_kb "$quorvel")" "$(private_kb "$minimal")"

"$QV_WINE" "$bin/QuorvelPost.exe" command 57665 >/dev/null 2>&1 </dev/null || true
kill "$minimal" 2>/dev/null || true
wait "$quorvel" "$minimal" 2>/dev/null || true
rm -rf "$folder"
