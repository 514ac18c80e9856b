#!/usr/bin/env bash
# Dragging the icon onto Ketrilo's own window is refused with a message, and the well
# stays as it was.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/data
make_file "$data/one.bin" 4000
make_file "$data/two.bin" 5000

start_xvfb
start_ketrilo
drop_from_peer "$data/one.bin" "$data/two.bin"
wait_state_count well 2
well_before=$(state_lines well)

drag "$(widget_center Image1)" "$(widget_center ListView1)"
press_ok
wait_state_count message 1
[ "$(state_lines message)" = "自フォームへのドロップはできません" ] ||
    fail "wrong message: $(state_lines message)"
ketrilo_alive
[ "$(state_lines well)" = "$well_before" ] || fail "the well changed after the refused drop"
log "PASS: the drop onto the window itself was refused"
