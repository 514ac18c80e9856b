#!/usr/bin/env bash
# Dragging the icon onto Brasero's data project: Brasero lists every item of the well,
# read back from its project view through the accessibility tree.
source "$(dirname "$0")/lib.sh" "$@"

start_desktop_with_well

start_program brasero brasero --data
brasero=$(wait_window "Brasero — New Data Disc Project")
# To the right of Ketrilo's window, which stands in the middle of the screen.
place_window "$brasero" 1380 0 540 1080
wait_until "Brasero on the accessibility bus" accessible_has brasero
drag "$(widget_center Image1)" "1650 540"

expected="folder|notes.txt|写真 2024.jpg|"
wait_until "Brasero to list the well's three items" accessible_cells_are brasero 0 "$expected"
screenshot brasero-data-project
ketrilo_alive
log "PASS: Brasero's data project holds the well"
