#!/usr/bin/env bash
# The disc image of large trees, side by side in one run: for trees of 100,000 and 300,000
# files in 8,020 folders, the walk (`ketrilo --measure`), the walk with the image
# (`ketrilo --measure --image`, the image from the walk's records) and `xorriso -as mkisofs
# -R -J -iso-level 3 -no-pad -print-size` as medians of warm-cache runs, then bench_image on
# the same tree (the arithmetic from scratch, from a walk's records, after one more item and
# after a rename, libisofs, each best of three); last, bench_image_panel: the panel after the
# 300,000 files are dropped onto the well and after one file more, in the real window.
# Figures only, never pass or fail.
#
#   bash bench/image_side_by_side.sh [WORK_FOLDER]
#
# WORK_FOLDER (default $TMPDIR, else /tmp) holds ketrilo-bench-tree-100k and
# ketrilo-bench-tree (the 300,000 files measure_tree.sh makes too), each made once and
# reused while complete. KETRILO names the executable (default build-release/src/ketrilo,
# then build/src/ketrilo); the benchmarks are taken from the same build; RUNS is the runs
# per command (5).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/bench/tree_lib.sh"
work=${1:-${TMPDIR:-/tmp}}
ketrilo=$(find_ketrilo "$repo")
benches=$(dirname "$(dirname "$ketrilo")")/bench
for bench in bench_image bench_image_panel; do
  [ -x "$benches/$bench" ] || { echo "$benches/$bench not found: build target $bench" >&2; exit 2; }
done
runs=${RUNS:-5}

# The tree as one item at the image's root under its own name, as the well and bench_image
# take it.
xorriso_size() {
  LC_ALL=C.UTF-8 xorriso -as mkisofs -R -J -iso-level 3 -no-pad -graft-points -print-size \
    "$(basename "$1")=$1" 2>/dev/null
}

for files in 100000 300000; do
  tree=$work/ketrilo-bench-tree
  [ "$files" -eq 100000 ] && tree=$work/ketrilo-bench-tree-100k
  make_tree "$tree" "$files"
  echo "== $files files in 8,020 folders: $tree"
  echo "load before:         $(cut -d ' ' -f 1-3 /proc/loadavg) ($(nproc) cores)"
  walk=() withImage=() xorriso=()
  "$ketrilo" --measure "$tree" >/dev/null 2>&1 || true # warm the cache
  for _ in $(seq "$runs"); do
    walk+=("$(time_once "$ketrilo" --measure "$tree")")
    withImage+=("$(time_once "$ketrilo" --measure --image "$tree")")
    xorriso+=("$(time_once xorriso_size "$tree")")
  done
  echo "medians of $runs, warm cache:"
  echo "  ketrilo --measure  $(median "${walk[@]}") s  $("$ketrilo" --measure "$tree" 2>/dev/null | head -n 1)"
  echo "  ketrilo --measure --image  $(median "${withImage[@]}") s  $("$ketrilo" --measure --image "$tree" 2>/dev/null | grep '^image')"
  echo "  xorriso            $(median "${xorriso[@]}") s  $(xorriso_size "$tree") sectors"
  echo "bench_image --tree (best of three):"
  "$benches/bench_image" --tree "$tree" | sed 's/^/  /'
  echo "load after:          $(cut -d ' ' -f 1-3 /proc/loadavg)"
done

echo "== the panel after one file dropped onto a well of the 300,000 files (20 folders)"
"$benches/bench_image_panel" "$work/ketrilo-bench-tree"
