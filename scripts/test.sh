#!/usr/bin/env bash
# Installs what is missing, checks the house style, builds everything in
# build-test and runs the whole test suite headless, the PostgreSQL runs on
# a private server started for this run and stopped at its end.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
scripts/check-format.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOOLDESK_WERROR=ON >/dev/null
cmake --build build-test
export QT_QPA_PLATFORM=offscreen
pg_dir=$(mktemp -d /tmp/tooldesk-pg.XXXXXX)
trap '"$root/scripts/pg-test-server.sh" stop "$pg_dir"' EXIT
"$root/scripts/pg-test-server.sh" start "$pg_dir"
export TOOLDESK_TEST_PGHOST="$pg_dir"
cd build-test
ctest --output-on-failure -j2
