#!/usr/bin/env bash
# Runs two builds of `ketrilo --measure` on the same generated trees and shows whether
# they print the same, so a change to the walk can be checked against the walk before it.
#
#   bash bench/compare_measure.sh BEFORE AFTER [WORK_FOLDER]
#
# BEFORE and AFTER are ketrilo executables. The trees, made under WORK_FOLDER (default
# $TMPDIR/ketrilo-compare, remade each run), are random trees of many shapes with long
# names (some multi-byte) at every depth, hidden entries, links to files, to folders and
# upwards, FIFOs and empty folders, each measured whole and through some of its
# sub-folders in one command, so that long names, totals and the status line all count.
set -euo pipefail

before=${1:?usage: compare_measure.sh BEFORE AFTER [WORK_FOLDER]}
after=${2:?usage: compare_measure.sh BEFORE AFTER [WORK_FOLDER]}
work=${3:-${TMPDIR:-/tmp}/ketrilo-compare}
rm -rf "$work"
mkdir -p "$work"

make_tree() { # root seed
  perl -e '
    use strict; use warnings;
    my ($root, $seed) = @ARGV;
    srand($seed);
    my $count = 0;
    sub name {
      my ($stem) = @_;
      my $kind = int(rand(10));
      my $name = $stem . $count++;
      return ".$name" if $kind == 0;
      return $name . ("L" x (60 + int(rand(10)))) if $kind == 1;
      return $name . ("\xE3\x81\x82" x 22) if $kind == 2;
      return $name;
    }
    sub fill {
      my ($folder, $depth) = @_;
      for (1 .. int(rand(6))) {
        my $path = "$folder/" . name("f");
        open(my $fh, ">", $path) or die "$path: $!";
        truncate($fh, rand() < 0.25 ? 0 : int(rand(3 * 2048))) or die;
        close($fh);
      }
      symlink(rand() < 0.5 ? ".." : ".", "$folder/" . name("l")) if rand() < 0.25;
      system("mkfifo", "$folder/" . name("p")) if rand() < 0.125;
      return if $depth == 6;
      for (1 .. int(rand($depth < 2 ? 5 : 3))) {
        my $sub = "$folder/" . name("d");
        mkdir $sub or die "$sub: $!";
        fill($sub, $depth + 1);
      }
    }
    fill($root, 0);
  ' "$1" "$2"
}

same=0
different=0
for seed in $(seq 1 40); do
  tree="$work/tree$seed"
  mkdir "$tree"
  make_tree "$tree" "$seed"
  mapfile -t subs < <(find "$tree" -mindepth 1 -maxdepth 2 -type d ! -name '.*' | sort | head -n 4)
  if diff <("$before" --measure "$tree" "${subs[@]}" 2>&1; echo "status $?") \
          <("$after" --measure "$tree" "${subs[@]}" 2>&1; echo "status $?") >/dev/null; then
    same=$((same + 1))
  else
    different=$((different + 1))
    echo "differs: $tree" >&2
  fi
done
echo "trees measured alike: $same, differently: $different"
