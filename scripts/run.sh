#!/usr/bin/env bash
# Installs the packages, builds, and runs the console: with its window when a
# display is available, headless otherwise. Extra arguments go to TARN.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
[ "${TARN_SKIP_SETUP:-0}" = 1 ] || scripts/setup.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
export TARN_HOME=${TARN_HOME:-$top/build/home}
mkdir -p "$TARN_HOME"
if [ ! -x build/bin/TARN ]; then
  echo "The console program is not built yet; the libraries and tools are in build/bin."
  exit 0
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/TARN --headless "$@"
fi
exec build/bin/TARN "$@"
