#!/usr/bin/env bash
# Builds the Windows programs and starts the main job under Wine.
# Until the window program exists, the main job is the sample program: it prints the
# application directory, the user name and the memory load, and writes the default settings
# into the per-user settings directory.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/deps.sh run
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 -j "$(nproc)" --target QuorvelSample
# shellcheck source=wine-env
source scripts/wine-env
exec "$QV_WINE" build/mingw-x64/bin/QuorvelSample.exe
