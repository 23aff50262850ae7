#!/usr/bin/env bash
# Installs the packages, builds the project twice (normal and with address +
# undefined-behaviour sanitizers) and runs every test through CTest.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
[ "${TARN_SKIP_SETUP:-0}" = 1 ] || scripts/setup.sh
jobs=$(nproc)
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTARN_SANITIZE=ON -DTARN_BUILD_UI=OFF
status=0
echo "== tests (normal build) =="
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300 || status=1
echo "== tests (address + undefined sanitizers) =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600 || status=1
exit $status
