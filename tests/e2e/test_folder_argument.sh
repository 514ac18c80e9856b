#!/usr/bin/env bash
# "ketrilo FOLDER", as a file manager's "Open with" runs it: the window starts with the
# folder in the folder box and its entries listed, as if the user had chosen it.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/data
make_file "$data/two.bin" 4096
make_file "$data/sub/three.bin" 4097

start_xvfb
start_ketrilo "$data/./sub/.."
wait_state_count row 2
[ "$(state_lines folder)" = "$data/" ] || fail "folder box shows '$(state_lines folder)'"
state_lines row | grep -qxF "2${TAB}4096${TAB}two.bin" || fail "two.bin is not listed"
state_lines row | grep -qxF "3${TAB}6144${TAB}sub" || fail "sub is not listed"
[ "$(state_count message)" -eq 0 ] || fail "unexpected message: $(state_lines message)"
log "PASS: the folder given on the command line is listed"
