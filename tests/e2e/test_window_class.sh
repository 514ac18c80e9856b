#!/usr/bin/env bash
# Desktops tie a window to its menu entry by the window's X11 class: the entry's
# StartupWMClass names the class Ketrilo's window carries.
source "$(dirname "$0")/lib.sh" "$@"

entry=$(dirname "$0")/../../data/io.github.ketrilo.Ketrilo.desktop
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$class" ] || fail "the desktop entry names no StartupWMClass"

start_xvfb
start_ketrilo
wm_class=$(xprop -id "$KETRILO_WID" WM_CLASS) # WM_CLASS(STRING) = "instance", "class"
[[ $wm_class == *", \"$class\"" ]] || fail "the window's class is not $class: $wm_class"
log "PASS: the window's class $class is the one the desktop entry names"
