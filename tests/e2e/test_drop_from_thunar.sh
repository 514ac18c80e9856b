#!/usr/bin/env bash
# Thunar, a real file manager, drags two files and a folder onto the well, then one folder
# onto the upper area, which lists it. Thunar's rows are found through the accessibility
# tree.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/data
make_file "$data/one.txt" 1
make_file "$data/three clusters.bin" 5000
make_file "$data/tree/two.bin" 4096
make_file "$data/tree/sub/two more.bin" 2049

E2E_SCREEN=1920x1080x24 start_xvfb
start_desktop_session
start_ketrilo
start_program thunar thunar "$data"
# Left of Ketrilo's window, which stands in the middle of the screen.
place_window "$(wait_window "data - Thunar")" 0 0 540 700
wait_until "Thunar's tool bar" accessible_shows thunar "List View" "push button"
accessible press thunar "List View" "push button" >/dev/null
wait_until "Thunar's rows" accessible_shows thunar "tree" "table cell"
row() { accessible extents thunar "$1" "table cell"; }
# thunar_selected PATTERN: Thunar's status bar shows PATTERN.
thunar_selected() { accessible statusbar thunar | grep -q "$1"; }

# click_beside ROW: clicks ROW away from its centre, where the drag will press, so that GTK
# does not take the click and the drag's press for a double click, which opens the folder.
click_beside() {
    local x y
    read -r x y <<<"$(row "$1")"
    xdotool mousemove $((x + 30)) "$y" click 1
}

# Click a row, select all with the keyboard (no window manager: the key goes to the window
# under the pointer), and drag them by that row.
click_beside tree
xdotool key ctrl+a
wait_until "Thunar to select the three items" thunar_selected "^Selection: 1 folder .*| *2 files"
drag "$(row tree)" "$(widget_center ListView1)"
wait_state_count well 3
expect_well_row 1 2048 "$data/one.txt"
expect_well_row 3 6144 "$data/three clusters.bin"
expect_well_row 4 8192 "$data/tree"

click_beside tree
wait_until "Thunar to select the folder alone" thunar_selected '"tree"'
drag "$(row tree)" "$(widget_center ListView3)"
folder_is() { [ "$(state_lines folder)" = "$1" ]; }
wait_until "the dropped folder in the folder box" folder_is "$data/tree/"
wait_state_count row 2
state_lines row | grep -qxF "2${TAB}4096${TAB}two.bin" || fail "two.bin is not listed"
state_lines row | grep -qxF "2${TAB}4096${TAB}sub" || fail "sub is not listed"
[ "$(state_count well)" -eq 3 ] || fail "the upper drop changed the well"
[ "$(state_count message)" -eq 0 ] || fail "unexpected message: $(state_lines message)"
log "PASS: Thunar's drops reached the well and the folder list"
