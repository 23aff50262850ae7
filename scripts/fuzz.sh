#!/usr/bin/env bash
# fuzz.sh [seconds] [target...]: builds the libFuzzer targets with clang,
# address and undefined-behaviour sanitizers in build-fuzz/ and runs each one
# (or the targets named) for the given number of seconds (default 60).
# FUZZ_JOBS=N runs N targets at a time (default 1). The corpus grows in
# build-fuzz/corpus/<target> from the seeds in fuzz/*/seeds/; a finding is
# written to build-fuzz/artifacts/ and makes the script fail. The log of each
# run is build-fuzz/logs/<target>.log.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build="$top/build-fuzz"
jobs=${FUZZ_JOBS:-1}
# Every target, and the folders they need (a new fuzz folder joins both).
all=(fuzz_agent_log fuzz_ini_file fuzz_time_stamp fuzz_config_document
     fuzz_gateway_request fuzz_icmp_reply fuzz_smtp_reply
     fuzz_sms_answer fuzz_modem_line fuzz_sms_number
     fuzz_trap_slot fuzz_snmp_bindings fuzz_agent_files
     fuzz_address_book fuzz_mail_profile fuzz_mime_encoding fuzz_db_conversion)
folders="^(common|console/(core|db|config|monitor|notify|plugins)|sms|sendmail|snmpagent|gateway|fuzz/.*)$"
targets=("${@:-${all[@]}}")

if ! command -v clang++ >/dev/null; then
  apt-get install -y --no-install-recommends clang libclang-rt-14-dev
fi
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTARN_FUZZ=ON -DTARN_SANITIZE=ON -DTARN_BUILD_UI=OFF -DTARN_ONLY="$folders" >/dev/null
cmake --build "$build" --target "${targets[@]}"

mkdir -p "$build/artifacts" "$build/logs"
run() {
  local target=$1 corpus="$build/corpus/$1" seeds
  mkdir -p "$corpus"
  seeds=$(find "$top/fuzz" -path "*/seeds/${target#fuzz_}" -type d)
  echo "== $target: $seconds s =="
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
       "$corpus" $seeds >"$build/logs/$target.log" 2>&1; then
    echo "== $target: clean ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' \
      "$build/logs/$target.log" | grep -o '[0-9]*$') runs)"
  else
    echo "== $target: FINDING, see $build/logs/$target.log"
    return 1
  fi
}
status=0
pids=()
for target in "${targets[@]}"; do
  run "$target" & pids+=($!)
  if [ "${#pids[@]}" -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done
exit $status
