#!/usr/bin/env bash
# The image each burner writes of the same items beside Ketrilo's figure: xorriso with the
# documented command, xorriso with its default padding, genisoimage, and the image files Xfburn
# ("Only create ISO") and Brasero ("Image File") write when driven through their own windows.
# Figures only, never pass or fail.
#   [KETRILO=build/src/ketrilo] bash bench/burner_images.sh ITEM...
# Runs its own Xvfb and D-Bus session; needs xvfb, xdotool, python3-pyatspi, xfburn, brasero.
set -uo pipefail
ketrilo=${KETRILO:-build/src/ketrilo}
[ $# -gt 0 ] || { echo "usage: bash $0 ITEM..." >&2; exit 2; }
items=()
for item in "$@"; do items+=("$(realpath "$item")"); done
work=$(mktemp -d)
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap finish EXIT

# sectors ISO: the image's sectors, or what was written and "incomplete" when the file is
# shorter than the volume its first descriptor announces.
sectors() {
    local written volume
    written=$(($(stat -c %s "$1") / 2048))
    volume=$(isoinfo -d -i "$1" 2>/dev/null | sed -n 's/^Volume size is: //p')
    if [ "$written" = "$volume" ]; then echo "$written"; else echo "$written of $volume: incomplete"; fi
}
grafts=()
for item in "${items[@]}"; do grafts+=("$(basename "$item")=$item"); done

ours=$("$ketrilo" --measure --image "${items[@]}" | awk -F'\t' '$1 == "image" { print $2 }')
xorriso -as mkisofs -R -J -iso-level 3 -no-pad -graft-points -o "$work/x.iso" "${grafts[@]}" \
    >/dev/null 2>&1
xorriso -as mkisofs -R -J -iso-level 3 -graft-points -o "$work/xp.iso" "${grafts[@]}" \
    >/dev/null 2>&1
genisoimage -quiet -R -J -iso-level 3 -no-pad -graft-points -o "$work/g.iso" "${grafts[@]}" \
    >/dev/null 2>&1

# A private display and session bus: the burners publish their widgets on it.
: >"$work/displayfd"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/displayfd" \
    >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q '[0-9]' "$work/displayfd" && break; sleep 0.1; done
export DISPLAY=":$(tr -dc 0-9 <"$work/displayfd")"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime NO_AT_BRIDGE=0 GTK_A11Y=atspi
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")

atspi() { timeout 20 /usr/bin/python3 "$(dirname "$0")/../tests/e2e/e2e_atspi.py" "$@" 2>/dev/null; }
# click APP NAME ROLE: a real click on the widget's centre, once it shows (Xfburn deadlocks
# when its buttons are pressed through the accessibility bus).
click() {
    local at=""
    for _ in $(seq 200); do
        at=$(atspi extents "$@")
        [ -n "$at" ] && break
        sleep 0.3
    done
    [ -n "$at" ] || { echo "no $2 in $1" >&2; return 1; }
    # shellcheck disable=SC2086 # "X Y"
    xdotool mousemove $at click 1
}
# type_after APP LABEL TEXT: sets the first shown text field after the widget named LABEL.
type_after() {
    /usr/bin/python3 - "$@" <<'PY'
import sys, pyatspi
app_name, label, text = sys.argv[1:4]
desktop = pyatspi.Registry.getDesktop(0)
apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
app = next(a for a in apps if a is not None and (a.name or "").lower() == app_name)
def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)
seen = False
for node in walk(app):
    if node.name == label:
        seen = True
    elif seen and node.getRoleName() == "text" and node.getState().contains(pyatspi.STATE_SHOWING):
        node.queryEditableText().setTextContents(text)
        break
PY
}
# wait_file FILE APP: until FILE has kept one size, not 0, for 20 seconds; APP's widgets are
# read meanwhile, which keeps its window's main loop turning.
wait_file() {
    local size=-1 same=0 now
    for _ in $(seq 900); do
        atspi cells "$2" 0 >/dev/null
        now=$(stat -c %s "$1" 2>/dev/null || echo 0)
        if [ "$now" -gt 0 ] && [ "$now" -eq "$size" ]; then
            same=$((same + 1))
            [ $same -lt 20 ] || return 0
        else
            same=0
        fi
        size=$now
        sleep 1
    done
}

xfburn -d "${items[@]}" >/dev/null 2>&1 &
xfburn_pid=$!
pids+=("$xfburn_pid")
click xfburn Close "push button" # "No burners are currently available"
# Burn takes the composition as it stands: wait until every file is in it.
quiet=0
for _ in $(seq 600); do
    if xdotool search --onlyvisible --name "^Adding files to the composition" >/dev/null 2>&1; then
        quiet=0
    else
        quiet=$((quiet + 1))
        [ $quiet -lt 5 ] || break
    fi
    sleep 1
done
click xfburn "Proceed to Burn" "push button"
click xfburn "Only create ISO" "check box"
sleep 1
type_after xfburn "Only create ISO" "$work/xfburn.iso"
click xfburn "Burn Composition" "push button"
wait_file "$work/xfburn.iso" xfburn
kill "$xfburn_pid"

uris=()
for item in "${items[@]}"; do uris+=("file://$item"); done
brasero --no-existing-session --image-file -d "${uris[@]}" >/dev/null 2>&1 &
pids+=($!)
# Burn takes no click while the project is still being read: click until the chooser shows.
for _ in $(seq 60); do
    click brasero "Burn…" "push button"
    sleep 3
    atspi extents brasero "Create Image" "push button" | grep -q . && break
done
type_after brasero "File Chooser Widget" "$work/brasero.iso"
click brasero "Create Image" "push button"
wait_file "$work/brasero.iso" brasero

printf '%-44s %s\n' "Ketrilo's image figure (--measure --image)" "$ours" \
    "xorriso -as mkisofs -R -J -iso-level 3 -no-pad" "$(sectors "$work/x.iso")" \
    "xorriso -as mkisofs -R -J -iso-level 3" "$(sectors "$work/xp.iso")" \
    "genisoimage -R -J -iso-level 3 -no-pad" "$(sectors "$work/g.iso")" \
    "Xfburn, Only create ISO" "$(sectors "$work/xfburn.iso")" \
    "Brasero, Image File" "$(sectors "$work/brasero.iso")"
