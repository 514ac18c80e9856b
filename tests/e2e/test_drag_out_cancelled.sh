#!/usr/bin/env bash
# During a drag-out the right button and Escape cancel, the right button also when it was
# held before the drag began; the middle button and the wheel play no part. Of all these
# drags only the one released with the left button alone reaches the burning program.
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
icon=$(widget_center Image1)
read -r ix iy <<<"$icon"
over_target="150 100"
nowhere="1200 980" # no window stands there: a drag released there drops nowhere

# glide "X1 Y1" "X2 Y2": moves the pointer there in steps about 0.1 s apart.
glide() {
    local x1 y1 x2 y2 i
    read -r x1 y1 <<<"$1"
    read -r x2 y2 <<<"$2"
    for ((i = 1; i <= 8; i++)); do
        xdotool mousemove $((x1 + (x2 - x1) * i / 8)) $((y1 + (y2 - y1) * i / 8))
        sleep 0.1
    done
}

# start_drag: presses the left button on the icon and leaves it until the drag runs.
start_drag() {
    xdotool mousemove "$ix" "$iy"
    sleep 0.1
    xdotool mousedown 1
    sleep 0.1
    glide "$icon" "$((ix + 16)) $((iy + 16))"
}

# middle_and_wheel: a middle click and a turn of the wheel either way.
middle_and_wheel() {
    xdotool mousedown 2
    sleep 0.1
    xdotool mouseup 2
    sleep 0.1
    xdotool click 4
    sleep 0.1
    xdotool click 5
    sleep 0.1
}

# 1. A middle click over the burning program drops nothing; the drag then ends nowhere.
start_drag
glide "$((ix + 16)) $((iy + 16))" "$over_target"
middle_and_wheel
glide "$over_target" "$nowhere"
xdotool mouseup 1
sleep 0.2

# 2. A right button held before the drag began cancels it at the left button's release.
xdotool mousemove "$ix" "$iy"
xdotool mousedown 3
sleep 0.1
start_drag
glide "$((ix + 16)) $((iy + 16))" "$over_target"
xdotool mouseup 1
sleep 0.1
xdotool mouseup 3
sleep 0.2

# 3. A middle click and the wheel do not cancel either: released with the left, it drops.
start_drag
glide "$((ix + 16)) $((iy + 16))" "$over_target"
middle_and_wheel
xdotool mousemove 151 100
sleep 0.1
xdotool mousemove 150 100
sleep 0.2
xdotool mouseup 1
wait_until "the burning program to receive the drop" grep -q "^possible$TAB" "$out"

[ "$(grep -c "^action$TAB" "$out")" -eq 1 ] || fail "a cancelled drag dropped: $(cat "$out")"
[ "$(grep -c '' "$out")" -eq 3 ] || fail "unexpected drop content: $(cat "$out")"
ketrilo_alive
[ "$(state_count message)" -eq 0 ] || fail "unexpected message: $(state_lines message)"
log "PASS: only the left button's release drops; the right button and Escape cancel"
