#!/usr/bin/env bash
# Installs what is missing, builds, prepares build/Data from the delivered
# Data folder when it is absent (never overwriting it) and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOOLDESK_BENCH=OFF >/dev/null
cmake --build build --target tooldesk delivered_data
[ -e build/Data ] || cp -r build/dist/Data build/Data
exec build/tooldesk
