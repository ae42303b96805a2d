#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOOLDESK_WERROR=ON >/dev/null
cmake --build build
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j2
