#!/usr/bin/env bash
# Installs what is missing, checks the house style, builds everything in
# build-test and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOOLDESK_WERROR=ON >/dev/null
cmake --build build-test
export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --output-on-failure -j2
