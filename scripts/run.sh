#!/usr/bin/env bash
# Installs the packages, builds, and runs the console: with its window when a
# display is available, headless otherwise. Extra arguments go to TARN.
#
# Without TARN_HOME the console runs on a demo installation in build/home,
# created once with "tarn-admin demo", and the demo agent (scripts/demo_agent.py)
# plays an agent computer and the demo's loopback mail server beside it while
# the console runs; it prints every mail notification it receives. tarn-agent
# reports the local computer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
[ "${TARN_SKIP_SETUP:-0}" = 1 ] || scripts/setup.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ ! -x build/bin/TARN ]; then
  echo "The console program is not built yet; the libraries and tools are in build/bin."
  exit 0
fi
if [ -z "${TARN_HOME:-}" ]; then
  export TARN_HOME=$top/build/home
  if [ ! -e "$TARN_HOME/TARN.MDB" ]; then
    build/bin/tarn-admin demo "$TARN_HOME"
  fi
fi
helpers=()
trap 'kill "${helpers[@]}" 2>/dev/null || true' EXIT
if [ -d "$TARN_HOME/demo" ]; then
  /usr/bin/python3 scripts/demo_agent.py "$TARN_HOME" &
  helpers+=($!)
fi
# tarn-agent reports this computer to the console (docs/AGENT.md).
agent_config=$TARN_HOME/tarn-agent.ini
if [ -x build/bin/tarn-agent ] && [ -d "$TARN_HOME/data" ]; then
  [ -e "$agent_config" ] || printf '[Agent]\nDataDirectory=%s\nStateFile=%s\n' \
    "$TARN_HOME/data" "$TARN_HOME/tarn-agent.state" >"$agent_config"
  build/bin/tarn-agent --config "$agent_config" &
  helpers+=($!)
fi
mode=()
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  mode=(--headless)
fi
status=0
build/bin/TARN "${mode[@]}" "$@" || status=$?
exit "$status"
