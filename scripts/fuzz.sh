#!/usr/bin/env bash
# fuzz.sh [seconds]: builds the libFuzzer targets with clang, address and
# undefined-behaviour sanitizers in build-fuzz/ and runs each one for the given
# number of seconds (default 60). The corpus grows in build-fuzz/corpus/<target>
# from the seeds in fuzz/*/seeds/; a finding is written to
# build-fuzz/artifacts/ and makes the script fail.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$top/build-fuzz"
# The targets to run and the folders they need (a new fuzz folder joins both).
targets=(fuzz_agent_log fuzz_ini_file fuzz_config_document)
folders="common|console/(core|db|config)|fuzz/(core|config)"

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTARN_FUZZ=ON -DTARN_SANITIZE=ON -DTARN_BUILD_UI=OFF -DTARN_ONLY="$folders"
cmake --build "$build" --target "${targets[@]}"

mkdir -p "$build/artifacts"
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  seeds=$(find "$top/fuzz" -path "*/seeds/${target#fuzz_}" -type d)
  echo "== $target: $seconds s =="
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
    "$corpus" $seeds || status=1
done
exit $status
