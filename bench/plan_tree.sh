#!/usr/bin/env bash
# Times `ketrilo --plan` of 300,000 files over BD-R 25GB discs, warm cache, best of three, and
# prints the plan's discs beside its lower bound. Figures only, never pass or fail.
#
#   bash bench/plan_tree.sh [TREE_FOLDER]
#
# TREE_FOLDER (default $TMPDIR/ketrilo-bench-plan-tree) is made once and reused while complete:
# 300,000 sparse files (about 100 GB as sizes, nothing on disk) in 8,020 folders, the 20 top
# folders being the well's items. KETRILO names the executable (default
# build-release/src/ketrilo, then build/src/ketrilo); its disc list must hold "BD-R 25GB".
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
tree=${1:-${TMPDIR:-/tmp}/ketrilo-bench-plan-tree}
ketrilo=${KETRILO:-}
if [ -z "$ketrilo" ]; then
  for candidate in "$repo/build-release/src/ketrilo" "$repo/build/src/ketrilo"; do
    [ -x "$candidate" ] && { ketrilo=$candidate; break; }
  done
fi
[ -x "${ketrilo:-}" ] || { echo "ketrilo executable not found: build it or set KETRILO" >&2; exit 2; }

if [ ! -e "$tree/.complete" ]; then
  echo "making $tree (300,000 files in 8,020 folders)..."
  rm -rf "$tree"
  mkdir -p "$tree"
  perl -e '
    use strict; use warnings;
    my ($root, $total) = @ARGV;
    srand(20100503);
    my @folders;
    for my $a (0 .. 19) {
      push @folders, sprintf("%s/top%02d", $root, $a);
      for my $b (0 .. 19) {
        push @folders, sprintf("%s/top%02d/mid%02d", $root, $a, $b);
        push @folders, map { sprintf("%s/top%02d/mid%02d/leaf%02d", $root, $a, $b, $_) } 0 .. 18;
      }
    }
    my $made = 0;
    for my $i (0 .. $#folders) {
      mkdir $folders[$i] or die "mkdir $folders[$i]: $!";
      my $upto = int($total * ($i + 1) / @folders);
      for (; $made < $upto; ++$made) {
        my $r = rand();
        my $size = $r < 0.85 ? int(rand(1 << 16)) : $r < 0.99 ? int(rand(1 << 20))
                                                             : int(rand(50 << 20));
        my $name = sprintf("photo%06d.jpg", $made);
        open(my $fh, ">", "$folders[$i]/$name") or die "$name: $!";
        truncate($fh, $size) or die "truncate $name: $!";
        close($fh);
      }
    }
  ' "$tree" 300000
  touch "$tree/.complete"
fi

items=("$tree"/top*)
"$ketrilo" --plan --profile "BD-R 25GB" "${items[@]}" >/dev/null 2>&1 || true # warms the cache
best=""
for run in 1 2 3; do
  start=$(date +%s.%N)
  plan=$("$ketrilo" --plan --profile "BD-R 25GB" "${items[@]}")
  seconds=$(echo "$(date +%s.%N) - $start" | bc)
  if [ -z "$best" ] || [ "$(echo "$seconds < $best" | bc)" -eq 1 ]; then best=$seconds; fi
done
printf '%s\n' "$plan" | awk -F'\t' '
  $1 == "disc" { printf "disc %s: %s sectors, %s clusters\n", $2, $3, $4 }
  $1 == "item" { ++items }
  $1 == "discs" { printf "discs %s, lower bound %s, items %d\n", $2, $3, items }'
printf 'plan of 300,000 files over BD-R 25GB: best of three %.2f s\n' "$best"
