#!/usr/bin/env bash
# Runs each libFuzzer target of a KVET_BUILD_FUZZERS build for a bounded time
# (KVET_FUZZ_SECONDS, 30 by default), as many at once as there are cores,
# starting from fuzz/corpus/<target>/. New inputs go to a scratch folder, so
# the committed corpus stays as it is; a failing input is kept as
# <build>/fuzz-artifacts/<target>-crash-... and should become a regular test.
#   bash scripts/fuzz.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-asan}
seconds=${KVET_FUZZ_SECONDS:-30}
targets=(settings_file password connection_string odbc_connection snapshot_json)

export ASAN_OPTIONS=${ASAN_OPTIONS:-"halt_on_error=1:detect_leaks=1:print_stacktrace=1"}
# A smaller quarantine keeps a fuzzer of Qt text and JSON under a few hundred MB.
export ASAN_OPTIONS="$ASAN_OPTIONS:quarantine_size_mb=64"
export LSAN_OPTIONS=${LSAN_OPTIONS:-"suppressions=$PWD/tests/lsan.supp:print_suppressions=0"}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-"halt_on_error=1:print_stacktrace=1"}

mkdir -p "$dir/fuzz-artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fuzz() {
  local target=$1 log="$dir/fuzz-artifacts/$1.log"
  mkdir -p "$scratch/$target"
  if "$dir/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$dir/fuzz-artifacts/$target-" "$scratch/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    echo "fuzz_$target: $(awk '/^stat::number_of_executed_units/ {print $2}' "$log") inputs in ${seconds} s, no failure"
  else
    echo "fuzz_$target: FAILED, see $log"
    tail -n 40 "$log"
    return 1
  fi
}

jobs=$(nproc)
pids=()
status=0
for target in "${targets[@]}"; do
  fuzz "$target" &
  pids+=($!)
  if ((${#pids[@]} >= jobs)); then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done
exit $status
