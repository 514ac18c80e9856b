#!/usr/bin/env bash
# Builds the fuzz targets (build-sanitize/, see scripts/sanitize.sh) and runs each for RUNS
# executions over its seeds in fuzz/corpus/<name>/ plus what earlier runs found there in
# build-sanitize/fuzz-found/<name>/. Logs go to build-sanitize/fuzz-logs/. A finding stops
# the run: its input is written to build-sanitize/fuzz-findings/ and the script fails.
# FUZZ_JOBS=N splits each target's RUNS over N processes sharing its corpus, one per core.
# FUZZ_SECONDS=S ends each target's run after S seconds if RUNS take longer: the image's
# arithmetic makes and measures a tree on disk for every input, far slower than the others.
# Usage: fuzz.sh RUNS [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitize-env.sh
# Returned stack frames are checked by the tests; here they would halve the executions.
export ASAN_OPTIONS=$ASAN_OPTIONS:detect_stack_use_after_return=0
runs=${1:?usage: fuzz.sh RUNS [NAME...]}
shift
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for corpus in fuzz/corpus/*/; do names+=("$(basename "$corpus")"); done
fi
configure_sanitize_build
cmake --build build-sanitize --target "${names[@]/#/fuzz_}" >/dev/null
mkdir -p build-sanitize/fuzz-findings build-sanitize/fuzz-logs
jobs=${FUZZ_JOBS:-1}
for name in "${names[@]}"; do
  found=build-sanitize/fuzz-found/$name
  mkdir -p "$found"
  start=$SECONDS
  pids=()
  for job in $(seq 1 "$jobs"); do
    log=build-sanitize/fuzz-logs/$name.log
    [ "$jobs" -eq 1 ] || log=build-sanitize/fuzz-logs/$name-$job.log
    "build-sanitize/fuzz/fuzz_$name" -runs="$((runs / jobs))" -max_total_time="${FUZZ_SECONDS:-0}" \
      -print_final_stats=1 \
      -artifact_prefix=build-sanitize/fuzz-findings/"$name"- "$found" "fuzz/corpus/$name" \
      >"$log" 2>&1 &
    pids+=("$!")
  done
  for job in $(seq 1 "$jobs"); do
    log=build-sanitize/fuzz-logs/$name.log
    [ "$jobs" -eq 1 ] || log=build-sanitize/fuzz-logs/$name-$job.log
    if ! wait "${pids[$((job - 1))]}"; then
      kill "${pids[@]}" 2>/dev/null || true
      tail -n 60 "$log"
      echo "fuzz_$name: FINDING (input in build-sanitize/fuzz-findings/, log $log)"
      exit 1
    fi
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
    echo "fuzz_$name: $done_line ($((SECONDS - start)) s)"
  done
done
