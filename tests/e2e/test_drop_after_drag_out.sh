#!/usr/bin/env bash
# Right after a completed drag-out, files dropped from a file manager are registered,
# not refused as if the drag-out were still going on.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/data
make_file "$data/first.bin" 2048
make_file "$data/later/second.bin" 2049
make_file "$data/later/third.bin" 0

start_xvfb
start_ketrilo
drop_from_peer "$data/first.bin"
wait_state_count well 1

out=$E2E_WORK/received
start_peer target "$out"
drag "$(widget_center Image1)" "150 100"
wait_until "the burning program to receive the drop" grep -q "^possible$TAB" "$out"
stop_peer

drop_from_peer "$data/later/second.bin" "$data/later/third.bin"
registered_or_refused() { state_count_is well 3 || state_has "message$TAB"; }
wait_until "the drop to be handled" registered_or_refused
expect_well_row 1 2048 "$data/first.bin"
expect_well_row 2 4096 "$data/later/second.bin"
expect_well_row 0 0 "$data/later/third.bin"
[ "$(state_count message)" -eq 0 ] || fail "the drop was refused: $(state_lines message)"
log "PASS: the drop after the drag-out was registered"
