#!/usr/bin/env bash
# build.sh <build-dir> [extra cmake options...]: configure and build with Ninja.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$top" -B "$dir" -G Ninja "$@"
cmake --build "$dir"
