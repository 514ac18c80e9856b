#!/usr/bin/env bash
# The progress display of a long listing answers a real user: a mouse click on its
# キャンセル button cancels, and so do Tab and Space; the folder list stays as it was and the
# keyboard focus goes back to the well after the click (Delete then removes a well row).
# Files dropped while the listing runs are not taken, and a box says so once it has ended.
source "$(dirname "$0")/lib.sh" "$@"

tree=$E2E_WORK/tree
make_linked_tree "$tree" 400
data=$E2E_WORK/data
make_file "$data/one.bin" 10
make_file "$data/two.bin" 20
make_file "$data/late.bin" 30

start_xvfb
start_ketrilo "$tree"
wait_state_count row 401
rows_before=$(state_lines row | LC_ALL=C sort)
make_file "$tree/added.bin" 5000 # a listing that went through would show it
drop_from_peer "$data/one.bin" "$data/two.bin"
wait_state_count well 2

# A click on the well's first row: it is selected and the well has the keyboard focus.
select_first_well_row() {
    local x y w h
    IFS=$TAB read -r _ x y w h <<<"$(state_lines geom | grep -a "^ListView1$TAB")"
    xdotool mousemove $((x + 40)) $((y + 34)) click 1
}

# The listing lasts while the user acts on the display, however fast the machine: once
# the display shows, the listing's threads (all but the window's and the X connection's)
# share one processor, at the lowest priority, with a busy loop. Threads the walk starts
# later are caught too: the pinning goes on every tenth of a second.
busy_pid=""
slow_the_listing() {
    if [ -n "$busy_pid" ]; then
        return
    fi
    taskset -c 0 sh -c 'while :; do :; done' &
    busy_pid=$!
    E2E_PIDS+=("$busy_pid")
    (
        while :; do
            for task in /proc/"$KETRILO_PID"/task/*; do
                [ "${task##*/}" != "$KETRILO_PID" ] || continue
                [ "$(cat "$task/comm" 2>/dev/null)" != QXcbEventQueue ] || continue
                taskset -p -c 0 "${task##*/}" >/dev/null 2>&1
                renice -n 19 -p "${task##*/}" >/dev/null 2>&1
            done
            sleep 0.1
        done
    ) &
    E2E_PIDS+=("$!")
}

# Clicks the rescan button and waits for the progress display; sets PROGRESS_WID.
rescan_until_display() {
    local x y
    HANDLED_BEFORE=$(handled_count)
    read -r x y <<<"$(widget_center ToolButton3)"
    xdotool mousemove "$x" "$y" click 1
    PROGRESS_WID=$(wait_window "処理中")
    slow_the_listing
}

# After a cancel: the display goes, the rescan ends (the focus is given back then), and the
# listing is unchanged.
expect_cancelled() {
    wait_until "the progress display to close" window_gone "処理中"
    wait_handled_after "$HANDLED_BEFORE" "the rescan to end"
    ketrilo_alive
    [ "$(state_lines row | LC_ALL=C sort)" = "$rows_before" ] || fail "the folder list changed"
    [ "$(state_lines folder)" = "$tree/" ] || fail "folder box now '$(state_lines folder)'"
}

# ... and Delete reaches the well (its row leaves). Only after the click: the display that
# xdotool focused itself for Tab and Space hands the X focus to no window when it closes,
# there being no window manager to pass it on.
expect_cancelled_and_focus_back() {
    expect_cancelled
    xdotool key Delete
    wait_state_count well "$1"
}

# A file manager drops onto the well while the listing runs, then the button is clicked;
# it sits at the display's bottom right, inside the layout's margin.
select_first_well_row
start_peer source "$data/late.bin"
rescan_until_display
drag "150 100" "$(widget_center ListView1)"
stop_peer
eval "$(xdotool getwindowgeometry --shell "$PROGRESS_WID" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
screenshot progress-display
xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 24)) click 1
press_ok
wait_until "the box's text in the state file" state_has "message${TAB}処理中だったため"
state_lines message | grep -aqF "$data/late.bin" || fail "the box does not name the dropped file"
expect_cancelled_and_focus_back 1
log "a drop during the listing was refused aloud, and a click on キャンセル cancelled"

# The keys go where the X focus is: give it to the display, and wait until it has it, for a
# loaded machine may take a while to let it in.
display_focused() {
    xdotool windowfocus --sync "$PROGRESS_WID" 2>/dev/null
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$PROGRESS_WID" ]
}

select_first_well_row
rescan_until_display
wait_until "the progress display to have the focus" display_focused
xdotool key Tab space
expect_cancelled
log "PASS: the display's button cancels by mouse and by Tab and Space, and a drop meanwhile is refused aloud"
