#!/usr/bin/env bash
# Dragging the icon onto a burning program hands it exactly the well's paths, in the
# well's display order, as file URLs, offering the copy action only.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/data
odd_name=caf$'\xe9'.bin # not valid UTF-8: its bytes must reach the burner unchanged
make_file "$data/b-second.bin" 3000
make_file "$data/$odd_name" 10
make_file "$data/folder/inner.bin" 100

start_xvfb
start_ketrilo
drop_from_peer "$data/b-second.bin" "$data/$odd_name" "$data/folder"
wait_state_count well 3
# The state file shows the name as the window does, with U+FFFD; the size proves the
# file itself was found.
expect_well_row 1 2048 "$data/caf"$'\xef\xbf\xbd'".bin"
well_before=$(state_lines well)

out=$E2E_WORK/received
start_peer target "$out"
drag "$(widget_center Image1)" "150 100"
wait_until "the burning program to receive the drop" grep -q "^possible$TAB" "$out"

expected="file://$data/b-second.bin
file://$data/caf%E9.bin
file://$data/folder"
received=$(grep -av -e "^action$TAB" -e "^possible$TAB" "$out")
[ "$received" = "$expected" ] ||
    fail "received URLs differ from the well's paths:
--- expected
$expected
--- received
$received"
grep -qx "action${TAB}copy" "$out" || fail "drop action is not copy: $(cat "$out")"
grep -qx "possible${TAB}copy" "$out" || fail "actions offered are not copy only: $(cat "$out")"
[ "$(grep -c '' "$out")" -eq 5 ] || fail "more than one drop arrived: $(cat "$out")"

ketrilo_alive
[ "$(state_lines well)" = "$well_before" ] || fail "the well changed after the drag-out"
[ "$(state_count message)" -eq 0 ] || fail "unexpected message: $(state_lines message)"
log "PASS: the burning program received the well"
