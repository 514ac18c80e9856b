#!/usr/bin/env bash
# The discs `ketrilo --plan` uses beside the lower bound and beside `dirsplit -s SIZE -e 1`
# (Debian's genisoimage) on four generated trees, and whether every disc of each really fits
# (xorriso -print-size of each list). Figures only, never pass or fail.
#
#   bash bench/plan_vs_dirsplit.sh [WORK_FOLDER]
#
# The trees are sparse files: planning and xorriso read sizes, not contents. KETRILO names the
# executable (default build-release/src/ketrilo); its disc list must hold "CD-R 700MB"
# (360,000 sectors), as the shipped one does.
set -euo pipefail

work=${1:-${TMPDIR:-/tmp}/ketrilo-bench-plan}
ketrilo=${KETRILO:-$(dirname "$0")/../build-release/src/ketrilo}
[ -x "$ketrilo" ] || { echo "no executable $ketrilo: build it or set KETRILO" >&2; exit 2; }
command -v dirsplit >/dev/null || { echo "dirsplit missing (Debian package genisoimage)" >&2; exit 2; }

profile="CD-R 700MB"
sectors=360000
bytes=$((sectors * 2048))

# make_tree KIND FOLDER: one generated tree, the same every time.
make_tree() {
  rm -rf "$2"
  mkdir -p "$2"
  perl -e '
    use strict; use warnings;
    my ($kind, $root) = @ARGV;
    srand(13);
    my $MB = 1 << 20;
    sub file { my ($path, $size) = @_; open(my $fh, ">", $path) or die "$path: $!";
               truncate($fh, $size) or die; close($fh); }
    if ($kind eq "small") {        # 40,000 files of 0-100 KB in 400 folders
      for my $d (0 .. 399) { mkdir "$root/d$d";
        file("$root/d$d/f$_.dat", int(rand(100_000))) for 0 .. 99; }
    } elsif ($kind eq "huge") {    # 12 files of 200-500 MB
      file("$root/huge$_.iso", int((200 + rand(300)) * $MB)) for 0 .. 11;
    } elsif ($kind eq "folders") { # 4 folders of 0.9-1.5 GB, each of sub-folders of 60-300 MB
      for my $d (0 .. 3) { mkdir "$root/set$d";
        for my $s (0 .. 5) { mkdir "$root/set$d/part$s";
          file("$root/set$d/part$s/f$_.bin", int((6 + rand(24)) * $MB)) for 0 .. 9; } }
    } else {                       # a mix of the three, and deeper folders
      for my $d (0 .. 99) { mkdir "$root/small$d";
        file("$root/small$d/f$_.txt", int(rand(50_000))) for 0 .. 149; }
      file("$root/big$_.mkv", int((150 + rand(400)) * $MB)) for 0 .. 5;
      mkdir "$root/deep"; my $p = "$root/deep";
      for my $l (0 .. 7) { $p .= "/level$l"; mkdir $p;
        file("$p/g$_.jpg", int((1 + rand(40)) * $MB)) for 0 .. 11; }
    }
  ' "$1" "$2"
}

# over_capacity FOLDER: how many of the lists in FOLDER make an image larger than a disc.
over_capacity() {
  local list size over=0
  for list in "$1"/*.list; do
    size=$(xorriso -as mkisofs -R -J -iso-level 3 -no-pad -graft-points -print-size \
             -path-list "$list" 2>/dev/null)
    [ "$size" -le "$sectors" ] || over=$((over + 1))
  done
  echo "$over"
}

printf '| tree | files | data (sectors) | lower bound | ketrilo | dirsplit -e 1 | ketrilo discs over | dirsplit discs over |\n'
printf '|---|---|---|---|---|---|---|---|\n'
for kind in small huge folders mix; do
  tree=$work/$kind
  make_tree "$kind" "$tree"
  files=$(find "$tree" -type f | wc -l)
  data=$(find "$tree" -type f -printf '%s\n' | awk '{ s += int(($1 + 2047) / 2048) } END { print s }')

  out=$work/$kind-ketrilo
  rm -rf "$out" && mkdir -p "$out"
  plan=$("$ketrilo" --plan --profile "$profile" --out "$out" "$tree"/* || true)
  read -r discs lower < <(printf '%s\n' "$plan" | awk -F'\t' '$1 == "discs" { print $2, $3 }')
  over=$(over_capacity "$out")

  split=$work/$kind-dirsplit
  rm -rf "$split" && mkdir -p "$split"
  (cd "$split" && dirsplit -s "$bytes" -e 1 "$tree" >/dev/null 2>&1)
  splitDiscs=$(find "$split" -name '*.list' | wc -l)
  splitOver=$(over_capacity "$split")
  printf '| %s | %s | %s | %s | %s | %s | %s | %s |\n' "$kind" "$files" "$data" "$lower" "$discs" \
    "$splitDiscs" "$over" "$splitOver"
done
