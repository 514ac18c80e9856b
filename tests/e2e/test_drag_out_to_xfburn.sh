#!/usr/bin/env bash
# Dragging the icon onto Xfburn's data composition: Xfburn lists every item of the well
# with its local path, read back through the accessibility tree.
source "$(dirname "$0")/lib.sh" "$@"

start_desktop_with_well

start_program xfburn xfburn --data-composition
# Without a disc writer Xfburn first says so in a box: close it.
xfburn_window() {
    accessible press xfburn Close "push button" >/dev/null
    [ -n "$(find_window Xfburn)" ]
}
wait_until "Xfburn's window" xfburn_window
place_window "$(find_window Xfburn)" 1380 0 540 700
wait_until "Xfburn's data composition" accessible_shows xfburn Contents "table column header"
drag "$(widget_center Image1)" "1650 400"

data=$E2E_WORK/data
expected="$data/folder|$data/notes.txt|$data/写真 2024.jpg|"
wait_until "Xfburn to list the well's three paths" accessible_cells_are xfburn 2 "$expected"
screenshot xfburn-data-composition
ketrilo_alive
log "PASS: Xfburn's data composition holds the well"
