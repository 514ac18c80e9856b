#!/usr/bin/env bash
# Escape pressed while a big tree is being listed cancels the listing: the folder list
# and the folder box stay exactly as they were. The same click without Escape then lists
# the folder anew.
source "$(dirname "$0")/lib.sh" "$@"

tree=$E2E_WORK/tree
# 200 folders: a walk long enough for the Escape sent with the click.
make_linked_tree "$tree" 200

start_xvfb
start_ketrilo "$tree"
wait_state_count row 201
rows_before=$(state_lines row)
folder_before=$(state_lines folder)
[ "$folder_before" = "$tree/" ] || fail "folder box shows '$folder_before'"
make_file "$tree/added.bin" 5000 # a rescan that went through would list it

rescan() {
    local before x y
    before=$(handled_count)
    read -r x y <<<"$(widget_center ToolButton3)"
    xdotool windowfocus --sync "$KETRILO_WID" 2>/dev/null
    xdotool mousemove "$x" "$y" click 1 "$@"
    wait_handled_after "$before" "the rescan to end"
}

rescan key Escape
ketrilo_alive
[ "$(state_lines folder)" = "$folder_before" ] || fail "folder box now '$(state_lines folder)'"
[ "$(state_lines row)" = "$rows_before" ] || fail "the folder list changed after Escape"
window_gone "処理中" || fail "the progress display stayed"

rescan
wait_state_count row 202
state_lines row | grep -aq "${TAB}added.bin\$" || fail "the rescan did not list added.bin"
log "PASS: Escape cancelled the listing and left the list and the folder box as they were"
