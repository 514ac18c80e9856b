#!/usr/bin/env bash
# During a drag-out the right button and Escape cancel: the burning program receives
# nothing from those drags, and a drag released with the left button still drops.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/data
make_file "$data/only.bin" 2048

start_xvfb
start_ketrilo
drop_from_peer "$data/only.bin"
wait_state_count well 1

out=$E2E_WORK/received
start_peer target "$out"
drag "$(widget_center Image1)" "150 100" right
drag "$(widget_center Image1)" "150 100" escape
drag "$(widget_center Image1)" "150 100"
wait_until "the burning program to receive the drop" grep -q "^possible$TAB" "$out"

[ "$(grep -c "^action$TAB" "$out")" -eq 1 ] || fail "a cancelled drag dropped: $(cat "$out")"
[ "$(grep -c '' "$out")" -eq 3 ] || fail "unexpected drop content: $(cat "$out")"
ketrilo_alive
[ "$(state_count message)" -eq 0 ] || fail "unexpected message: $(state_lines message)"
log "PASS: right button and Escape cancel the drag-out"
