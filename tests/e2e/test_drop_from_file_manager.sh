#!/usr/bin/env bash
# A file manager drags two files and a folder onto the lower part of the window: the
# well then holds the three items, each with the clusters it takes on the disc.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/data
make_file "$data/three clusters.bin" 5000
make_file "$data/one.txt" 1
make_file "$data/tree/two.bin" 4096
make_file "$data/tree/sub/two more.bin" 2049

start_xvfb
start_ketrilo
drop_from_peer "$data/three clusters.bin" "$data/one.txt" "$data/tree"
wait_state_count well 3

expect_well_row 3 6144 "$data/three clusters.bin"
expect_well_row 1 2048 "$data/one.txt"
expect_well_row 4 8192 "$data/tree"
[ "$(state_count message)" -eq 0 ] || fail "unexpected message: $(state_lines message)"
log "PASS: the dropped files and folder are in the well"
