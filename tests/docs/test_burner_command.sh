#!/usr/bin/env bash
# The command that README, the man page and --help give for a planned disc's list writes an
# image of exactly the sectors --plan printed for that disc: the same options in all three
# places, run for real with xorriso.
# Arguments: the ketrilo executable, the source folder.
set -euo pipefail
ketrilo=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The options between "xorriso -as mkisofs" and "-path-list" in a text of one line.
options_in() { sed -n 's/.*xorriso -as mkisofs \(.*\) -path-list.*/\1/p' | head -n 1; }

readme=$(grep -E '^xorriso -as mkisofs ' "$source/README.md" | options_in)
man=$(grep -E '^\.B xorriso ' "$source/data/ketrilo.1" | sed 's/\\-/-/g; s/^\.B //' | options_in)
help=$("$ketrilo" --help | tr -s ' \n' '  ' | options_in)
[ -n "$readme" ] || fail "README names no xorriso command"
[ "$man" = "$readme" ] || fail "the man page's options '$man' differ from README's '$readme'"
[ "$help" = "$readme" ] || fail "--help's options '$help' differ from README's '$readme'"

# A small well: files of sizes that end mid-sector, a folder with a long name and a deep path.
tree=$work/tree
mkdir -p "$tree/photos/2024/summer trip" "$tree/docs"
head -c 5000 /dev/urandom >"$tree/photos/2024/summer trip/a picture with a long name.jpg"
head -c 2048 /dev/urandom >"$tree/photos/2024/b.jpg"
head -c 1 /dev/urandom >"$tree/docs/notes.txt"
head -c 300000 /dev/urandom >"$tree/video.bin"
: >"$tree/empty"

mkdir "$work/lists"
"$ketrilo" --plan --profile "CD-R 700MB" --out "$work/lists" \
    "$tree/photos" "$tree/docs" "$tree/video.bin" "$tree/empty" >"$work/plan.txt" 2>&1 ||
    fail "--plan failed: $(cat "$work/plan.txt")"
planned=$(awk -F'\t' '$1 == "disc" && $2 == 1 { print $3 }' "$work/plan.txt")
[ -n "$planned" ] || fail "--plan printed no disc: $(cat "$work/plan.txt")"

# shellcheck disable=SC2086 # the documented options are words
xorriso -as mkisofs $readme -path-list "$work/lists/disc-01.list" -o "$work/disc1.iso" \
    >"$work/xorriso.log" 2>&1 || fail "xorriso failed: $(cat "$work/xorriso.log")"
bytes=$(stat -c %s "$work/disc1.iso")
[ $((bytes % 2048)) -eq 0 ] || fail "the image is $bytes bytes, not whole sectors"
[ $((bytes / 2048)) -eq "$planned" ] ||
    fail "the documented command wrote $((bytes / 2048)) sectors; --plan said $planned"
echo "PASS: README, man page and --help give one command, which writes the $planned sectors planned"
