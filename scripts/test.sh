#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively under the sanitizers,
# the fuzz targets for a bounded time, the 32-bit Windows build, and the Windows tests under
# Wine. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
jobs="$(nproc)"

scripts/deps.sh test

step() { printf '\n=== %s\n' "$*"; }

step "native build, AddressSanitizer + UndefinedBehaviorSanitizer"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

step "native build, ThreadSanitizer"
cmake --preset native-tsan >/dev/null
cmake --build --preset native-tsan -j "$jobs"
ctest --preset native-tsan -j "$jobs"

step "fuzz targets (libFuzzer, ${QV_FUZZ_SECONDS:=60} s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
for fuzzer in build/fuzz/tests/fuzz/*_fuzzer; do
  corpus="build/fuzz/corpus/$(basename "$fuzzer")"
  mkdir -p "$corpus"
  "$fuzzer" -max_total_time="$QV_FUZZ_SECONDS" -rss_limit_mb=512 -malloc_limit_mb=64 \
    -timeout=5 -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
done

step "Windows i686 build (compile and link only)"
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86 -j "$jobs"

step "Windows x86-64 build with the installer and the zip, tests under Wine"
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 -j "$jobs"
step "the first command of the README: scripts/run.sh shows QuorvelW"
scripts/test-run-command.sh
# shellcheck source=wine-session
source scripts/wine-session
qv_wine_session_start
ctest --preset mingw-x64 -j "$jobs" --timeout 300

step "benchmarks (figures, not timed tests)"
for bench in build/mingw-x64/bin/*_bench.exe; do
  scripts/wine-run "$bench"
done
scripts/bench-tray-idle.sh build/mingw-x64/bin "${QV_IDLE_SECONDS:-60}"

step "test share"
scripts/test-share

step "all tests passed"
