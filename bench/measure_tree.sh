#!/usr/bin/env bash
# Times `ketrilo --measure` on a synthetic tree beside `du -s` and beside the floor walker
# (bench/floor_walk.cpp: getdents64 + fstatat on directory handles, nothing else) on 2
# threads and on 1, warm cache, in one run, as medians and as ratios to the 2-thread floor;
# reports the measure's peak memory. Figures only, never pass or fail.
#
#   bash bench/measure_tree.sh [TREE_FOLDER]
#
# TREE_FOLDER (default $TMPDIR/ketrilo-bench-tree) is made once and reused while complete.
# KETRILO names the executable (default build-release/src/ketrilo, then build/src/ketrilo);
# FLOOR the floor walker (default beside it under bench/); RUNS the runs per command (7).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/bench/tree_lib.sh"
tree=${1:-${TMPDIR:-/tmp}/ketrilo-bench-tree}
ketrilo=$(find_ketrilo "$repo")
floor=${FLOOR:-$(dirname "$(dirname "$ketrilo")")/bench/floor_walk}
[ -x "$floor" ] || { echo "floor walker not found: build target floor_walk or set FLOOR" >&2; exit 2; }
runs=${RUNS:-7}

files=300000
make_tree "$tree" "$files"

# Peak resident memory in KiB: GNU time where present, otherwise the last VmHWM seen.
peak_kib() {
  if [ -x /usr/bin/time ]; then
    local report
    report=$(mktemp)
    /usr/bin/time -f '%M' -o "$report" "$@" >/dev/null 2>&1 || true
    tail -n 1 "$report"
    rm -f "$report"
    return
  fi
  "$@" >/dev/null 2>&1 &
  local pid=$! peak=0 hwm
  while kill -0 "$pid" 2>/dev/null; do
    hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$hwm" ] && peak=$hwm
    sleep 0.02
  done
  wait "$pid" || true
  echo "$peak (sampled)"
}

measure_out=$("$ketrilo" --measure "$tree" 2>/dev/null || true)
counted_folders=$(find "$tree" -mindepth 1 -type d | wc -l)
counted_files=$(find "$tree" -type f ! -name '.*' | wc -l)

echo "tree:              $tree ($counted_files files, $counted_folders folders)"
echo "ketrilo:           $ketrilo"
echo "measure says:      $(echo "$measure_out" | head -n 1)"
echo "                   $(echo "$measure_out" | grep -c '^long' || true) long names, status: $(echo "$measure_out" | tail -n 1)"
echo "du -s says:        $(du -s "$tree" | cut -f 1) KiB allocated (sparse files)"
echo "floor, 2 threads:  $("$floor" "$tree" 2)"
echo "load before:       $(cut -d ' ' -f 1-3 /proc/loadavg) ($(nproc) cores)"
# The commands take turns, so that a change in the machine's load touches them alike.
run_command() {
  case $1 in
    0) "$floor" "$tree" 2 ;;
    1) "$floor" "$tree" 1 ;;
    2) "$ketrilo" --measure "$tree" ;;
    3) du -s "$tree" ;;
  esac
}
times=("" "" "" "")
for i in 0 1 2 3; do run_command "$i" >/dev/null 2>&1 || true; done # warm the cache
for _ in $(seq "$runs"); do
  for i in 0 1 2 3; do
    times[$i]="${times[$i]} $(time_once run_command "$i")"
  done
done
floor2=$(median ${times[0]})
floor1=$(median ${times[1]})
measure=$(median ${times[2]})
du_time=$(median ${times[3]})
echo "load after:        $(cut -d ' ' -f 1-3 /proc/loadavg)"
ratio() { awk -v t="$1" -v f="$floor2" 'BEGIN { printf "%.2f", t / f }'; }
echo "medians of $runs, warm cache:       time    x the 2-thread floor"
printf '  floor, 2 threads     %8s s  %s\n' "$floor2" "$(ratio "$floor2")"
printf '  floor, 1 thread      %8s s  %s\n' "$floor1" "$(ratio "$floor1")"
printf '  ketrilo --measure    %8s s  %s\n' "$measure" "$(ratio "$measure")"
printf '  du -s                %8s s  %s\n' "$du_time" "$(ratio "$du_time")"
echo "measure peak RSS:  $(peak_kib "$ketrilo" --measure "$tree") KiB"
