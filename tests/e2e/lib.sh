# shellcheck shell=bash
# Helpers of the end-to-end tests, sourced by each tests/e2e/test_*.sh as
#   source "$(dirname "$0")/lib.sh" "$@"     (arguments: path-to-ketrilo e2e-binary-dir)
# Every test gets a private X server without a window manager, its own work folder and
# a trap that ends every program it started. Every wait polls a condition until a
# generous deadline; the only plain pauses are the pacing of synthetic mouse moves.

set -uo pipefail

if [ $# -lt 2 ]; then
    echo "usage: bash $0 <path-to-ketrilo> <e2e-binary-dir>" >&2
    exit 2
fi
KETRILO_BIN=$1
E2E_BIN=$2
PEER_BIN=$E2E_BIN/e2e_peer
E2E_DEADLINE=${E2E_DEADLINE:-60}
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/ketrilo-e2e.XXXXXX")
STATE_FILE=$E2E_WORK/state
MAIN_TITLE="Ketrilo β3"
E2E_PIDS=()
XVFB_PID=""
KETRILO_PID=""
KETRILO_WID=""
TAB=$'\t'

log() { echo "[$(date +%T)] $*"; }

dump_diagnostics() {
    echo "---- state file ----" >&2
    cat "$STATE_FILE" >&2 2>/dev/null || echo "(none)" >&2
    for f in "$E2E_WORK"/*.log; do
        [ -s "$f" ] || continue
        echo "---- $(basename "$f") ----" >&2
        tail -n 40 "$f" >&2
    done
}

fail() {
    echo "FAIL: $*" >&2
    screenshot "failed-$(basename "$0" .sh)"
    dump_diagnostics
    # Inside $(...) only the subshell would end: end the test itself.
    [ "$BASHPID" = "$$" ] || kill -TERM $$
    exit 1
}

e2e_cleanup() {
    local i
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${E2E_PIDS[i]}" 2>/dev/null
    done
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        wait "${E2E_PIDS[i]}" 2>/dev/null
    done
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    [ -n "${E2E_KEEP:-}" ] || rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT
trap 'exit 1' TERM

# wait_until DESCRIPTION COMMAND...: polls COMMAND every 0.1 s until it succeeds; fails
# the test after E2E_DEADLINE seconds.
wait_until() {
    local what=$1
    shift
    local end=$((SECONDS + E2E_DEADLINE))
    until "$@"; do
        [ $SECONDS -lt $end ] || fail "timed out after ${E2E_DEADLINE}s waiting for $what"
        sleep 0.1
    done
}

# Starts Xvfb on a display number it picks itself and exports DISPLAY.
start_xvfb() {
    local fdfile=$E2E_WORK/displayfd
    : >"$fdfile"
    # -noreset: a server that resets when its last client leaves refuses the next one
    # for a moment.
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$fdfile" \
        >"$E2E_WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_until "Xvfb to report its display" grep -q '[0-9]' "$fdfile"
    DISPLAY=":$(tr -dc 0-9 <"$fdfile")"
    export DISPLAY
    wait_until "display $DISPLAY to answer" xdpyinfo -display "$DISPLAY" >/dev/null 2>&1
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
    log "Xvfb on $DISPLAY"
}

# --- Real desktop programs ------------------------------------------------------

# start_desktop_session: a private home and D-Bus session bus, so that real desktop programs
# keep their settings to this test and publish their widgets on the accessibility bus.
start_desktop_session() {
    export HOME=$E2E_WORK/home XDG_RUNTIME_DIR=$E2E_WORK/runtime
    unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    local bus
    bus=$(dbus-launch --sh-syntax) || fail "no D-Bus session"
    eval "$bus"
    E2E_PIDS+=("$DBUS_SESSION_BUS_PID")
    export NO_AT_BRIDGE=0 GTK_A11Y=atspi
    log "D-Bus session $DBUS_SESSION_BUS_ADDRESS"
}

# start_desktop_with_well: a screen wide enough for Ketrilo and a real program side by side,
# a desktop session, and Ketrilo whose well holds three items under $E2E_WORK/data: a
# Japanese name with a blank, a plain file and a folder.
start_desktop_with_well() {
    local data=$E2E_WORK/data
    make_file "$data/写真 2024.jpg" 3000
    make_file "$data/notes.txt" 10
    make_file "$data/folder/inner.bin" 100
    E2E_SCREEN=1920x1080x24 start_xvfb
    start_desktop_session
    start_ketrilo
    drop_from_peer "$data/写真 2024.jpg" "$data/notes.txt" "$data/folder"
    wait_state_count well 3
}

# accessible MODE ARGS...: what a program shows, read through AT-SPI (see e2e_atspi.py).
accessible() {
    timeout 20 /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/e2e_atspi.py" "$@" 2>/dev/null
}

# accessible_has APP: true once APP shows on the accessibility bus with its window.
accessible_has() { [ -n "$(accessible frames "$1")" ]; }

# accessible_shows APP NAME ROLE: true once APP shows that object.
accessible_shows() { [ -n "$(accessible extents "$@")" ]; }

# accessible_cells APP COLUMN: the texts of that column of every table APP shows, sorted,
# joined by "|".
accessible_cells() { accessible cells "$1" "$2" | LC_ALL=C sort | tr '\n' '|'; }

# accessible_cells_are APP COLUMN EXPECTED: true when accessible_cells gives EXPECTED.
accessible_cells_are() { [ "$(accessible_cells "$1" "$2")" = "$3" ]; }

# start_program LOGNAME COMMAND...: starts a real program of the desktop; sets PROGRAM_PID.
start_program() {
    local name=$1
    shift
    "$@" >"$E2E_WORK/$name.log" 2>&1 &
    PROGRAM_PID=$!
    E2E_PIDS+=("$PROGRAM_PID")
}

# place_window WID X Y WIDTH HEIGHT: there is no window manager; the window obeys directly.
place_window() {
    xdotool windowsize "$1" "$4" "$5"
    xdotool windowmove "$1" "$2" "$3"
    wait_until "the window to move" window_at "$1" "$2" "$3"
}

window_at() {
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y)=')"
    [ "$X" -eq "$2" ] && [ "$Y" -eq "$3" ]
}

# screenshot NAME: saves the screen as NAME.png into $E2E_SHOTS when that is set, for a
# person to look at.
screenshot() {
    [ -n "${E2E_SHOTS:-}" ] || return 0
    mkdir -p "$E2E_SHOTS"
    "$E2E_BIN/e2e_screenshot" "$E2E_SHOTS/$1.png" || log "no screenshot $1"
}

# find_window TITLE: prints the id of a visible window whose title is exactly TITLE.
find_window() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# wait_window TITLE: waits for a visible window with that exact title; prints its id.
wait_window() {
    local wid="" end=$((SECONDS + E2E_DEADLINE))
    while [ -z "$wid" ]; do
        [ $SECONDS -lt $end ] || fail "timed out waiting for window '$1'"
        wid=$(find_window "$1")
        [ -n "$wid" ] || sleep 0.1
    done
    echo "$wid"
}

window_gone() { [ -z "$(find_window "$1")" ]; }

# window_center WID: prints "X Y" of the window's centre in screen coordinates.
window_center() {
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
}

# start_ketrilo [ARGS...]: starts Ketrilo with its state file and waits until its window
# shows and the first state has been written.
start_ketrilo() {
    rm -f "$STATE_FILE"
    KETRILO_STATE_OUT=$STATE_FILE "$KETRILO_BIN" "$@" >"$E2E_WORK/ketrilo.log" 2>&1 &
    KETRILO_PID=$!
    E2E_PIDS+=("$KETRILO_PID")
    KETRILO_WID=$(wait_window "$MAIN_TITLE")
    wait_until "Ketrilo's first state" state_has "status$TAB"
    wait_until "Ketrilo's widget positions" state_has "geom${TAB}ListView1$TAB"
    wait_until "Ketrilo's widget positions" state_has "geom${TAB}Image1$TAB"
    log "Ketrilo up (window $KETRILO_WID)"
}

ketrilo_alive() { kill -0 "$KETRILO_PID" 2>/dev/null || fail "Ketrilo has exited"; }

# start_peer MODE ARGS...: starts e2e_peer and waits for its window; sets PEER_PID.
start_peer() {
    local mode=$1
    "$PEER_BIN" "$@" >"$E2E_WORK/peer-$mode.log" 2>&1 &
    PEER_PID=$!
    E2E_PIDS+=("$PEER_PID")
    wait_window "e2e-peer-$mode" >/dev/null
}

# stop_peer: ends the last peer started and waits until its window is gone.
stop_peer() {
    kill "$PEER_PID" 2>/dev/null
    wait "$PEER_PID" 2>/dev/null
    wait_until "the peer's window to close" window_gone "e2e-peer-source"
    wait_until "the peer's window to close" window_gone "e2e-peer-target"
}

# --- The state file -------------------------------------------------------------

# state_lines PREFIX: the state file's lines of that kind, without the kind.
state_lines() {
    grep -a "^$1$TAB" "$STATE_FILE" 2>/dev/null | cut -f2-
}

# state_has PREFIX: true when some line of the state file starts with PREFIX.
state_has() { grep -aq -- "^$1" "$STATE_FILE" 2>/dev/null; }

state_count() { state_lines "$1" | wc -l; }

state_count_is() { [ "$(state_count "$1")" -eq "$2" ]; }

# wait_state_count KIND N: waits until the state file holds exactly N lines of KIND.
wait_state_count() {
    wait_until "$2 '$1' lines in the state file" state_count_is "$1" "$2"
}

# handled_count: how many of Ketrilo's handlers have ended. Unlike the state file's inode or
# time stamp, the count never comes back to an earlier value.
handled_count() {
    local n
    n=$(state_lines handled)
    echo "${n:-0}"
}

handled_after() { [ "$(handled_count)" -gt "$1" ]; }

# wait_handled_after N WHAT: waits until a handler ends after the count N read before.
wait_handled_after() {
    wait_until "$2" handled_after "$1"
}

# widget_center NAME: centre of a widget in screen coordinates, from its geom line.
widget_center() {
    local line
    line=$(state_lines geom | grep -a "^$1$TAB" | head -n 1)
    [ -n "$line" ] || fail "no position for widget $1 in the state file"
    local x y w h
    IFS=$TAB read -r _ x y w h <<<"$line"
    echo "$((x + w / 2)) $((y + h / 2))"
}

# --- Input --------------------------------------------------------------------

# drag "X1 Y1" "X2 Y2" [ENDING]: presses the left button at (X1, Y1), moves to (X2, Y2)
# in steps about 0.1 s apart (drag sources on other clients need the pace) and ends:
#   drop    release the left button (the default)
#   right   press the right button, then release both
#   escape  press Escape, then release the left button
drag() {
    local x1 y1 x2 y2 i steps=12 ending=${3:-drop}
    read -r x1 y1 <<<"$1"
    read -r x2 y2 <<<"$2"
    xdotool mousemove "$x1" "$y1"
    sleep 0.1
    xdotool mousedown 1
    sleep 0.1
    # Leave the press point on both axes first so the drag starts near its source.
    xdotool mousemove $((x1 + 8)) $((y1 + 8))
    sleep 0.1
    xdotool mousemove $((x1 + 16)) $((y1 + 16))
    sleep 0.1
    for ((i = 1; i <= steps; i++)); do
        xdotool mousemove $((x1 + 16 + (x2 - x1 - 16) * i / steps)) \
            $((y1 + 16 + (y2 - y1 - 16) * i / steps))
        sleep 0.1
    done
    # A few small moves over the target so it answers the last position before the end.
    xdotool mousemove $((x2 + 1)) "$y2"
    sleep 0.1
    xdotool mousemove "$x2" $((y2 + 1))
    sleep 0.1
    xdotool mousemove "$x2" "$y2"
    sleep 0.3
    case $ending in
    right)
        xdotool mousedown 3
        sleep 0.2
        xdotool mouseup 1
        sleep 0.1
        xdotool mouseup 3
        ;;
    escape)
        xdotool key Escape
        sleep 0.2
        xdotool mouseup 1
        ;;
    *) xdotool mouseup 1 ;;
    esac
    sleep 0.1
}

# message_box_id: id of a visible window titled "Ketrilo" (Ketrilo's message boxes).
message_box_id() { find_window "Ketrilo"; }

# press_ok: waits for one of Ketrilo's message boxes and closes it with Return.
press_ok() {
    local wid end
    wid=$(wait_window "Ketrilo")
    end=$((SECONDS + E2E_DEADLINE))
    while xdotool getwindowname "$wid" >/dev/null 2>&1 && [ "$(find_window Ketrilo)" = "$wid" ]; do
        [ $SECONDS -lt $end ] || fail "the message box does not close"
        xdotool windowfocus --sync "$wid" 2>/dev/null
        xdotool key Return
        sleep 0.2
    done
}

# --- Fixtures -------------------------------------------------------------------

# make_file PATH BYTES: a file of that size (content does not matter to the clusters).
make_file() {
    mkdir -p "$(dirname "$1")"
    head -c "$2" /dev/zero >"$1"
}

# make_linked_tree FOLDER COUNT: COUNT folders d0, d1, ... of 1,000 empty files each, and a
# file first.bin of 3,000 bytes: a listing long enough to act on while it runs. The other
# folders hold links to the first one's files, which are far quicker to make.
make_linked_tree() {
    local d
    mkdir -p "$1/d0"
    (cd "$1/d0" && touch f{0..999}.txt) || fail "cannot make the tree"
    for ((d = 1; d < $2; d++)); do
        cp -al "$1/d0" "$1/d$d" || fail "cannot make the tree"
    done
    make_file "$1/first.bin" 3000
}

# drop_from_peer FILE...: a file manager drags the files onto the well (the lower area).
drop_from_peer() {
    start_peer source "$@"
    drag "150 100" "$(widget_center ListView1)"
    stop_peer
}

# expect_well_row CLUSTERS BYTES PATH: the state file shows that well row.
expect_well_row() {
    state_lines well | grep -aqxF "$1$TAB$2$TAB$3" ||
        fail "well row '$1 $2 $3' missing; well is: $(state_lines well | tr '\t\n' ' |')"
}
