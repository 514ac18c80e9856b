# What the tree benchmarks share: the synthetic tree, the executables of a build, and the
# timing of commands. Sourced by measure_tree.sh and image_side_by_side.sh.

# make_tree TREE FILES: unless TREE is complete, makes it anew with FILES files in 20 top
# folders of 20 folders of 19 leaves (8,020 folders), the files spread evenly over all of
# them; sizes mostly below a few clusters, now and then larger; one name in 1,000 is over 64
# units. The files are sparse: the walk reads sizes, not contents.
make_tree() {
  local tree=$1 files=$2
  [ -e "$tree/.complete" ] && return
  echo "making $tree ($files files in 8,020 folders)..."
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
        my $size = $r < 0.05 ? 0 : $r < 0.85 ? int(rand(8192)) : int(rand(1 << 16));
        my $name = $made % 1000 == 999 ? sprintf("%s-%06d.dat", "x" x 64, $made)
                                       : sprintf("file%06d.dat", $made);
        open(my $fh, ">", "$folders[$i]/$name") or die "$name: $!";
        truncate($fh, $size) or die "truncate $name: $!";
        close($fh);
      }
    }
  ' "$tree" "$files"
  touch "$tree/.complete" # hidden: the measure does not see it
}

# find_ketrilo REPO: the ketrilo executable KETRILO names, else of build-release, else of build.
find_ketrilo() {
  local candidate
  for candidate in ${KETRILO:-} "$1/build-release/src/ketrilo" "$1/build/src/ketrilo"; do
    [ -x "$candidate" ] && { echo "$candidate"; return; }
  done
  echo "ketrilo executable not found: build it or set KETRILO" >&2
  exit 2
}

seconds_now() { date +%s.%N; }

# Wall-clock seconds of one run of the command.
time_once() {
  local start end
  start=$(seconds_now)
  "$@" >/dev/null 2>&1 || true
  end=$(seconds_now)
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }'
}

median() { printf '%s\n' "$@" | sort -n | awk '{ t[NR] = $1 } END { printf "%.3f", t[int((NR + 1) / 2)] }'; }
