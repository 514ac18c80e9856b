#!/usr/bin/env bash
# "ketrilo LINK", as a file manager's "Open with" may run it on /lib/x86_64-linux-gnu of
# Debian 12: the window lists the folder the system reaches through the links, as ls
# does, also when that folder's path is longer than the system takes in one call.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/usr/lib
make_file "$data/two.bin" 4096
make_file "$data/sub/three.bin" 4097
ln -s usr/lib "$E2E_WORK/lib"

# 25 folders of 200-byte names, then a link back to the data: over 5,000 bytes in all.
name=$(printf 'n%.0s' $(seq 200))
deep=$E2E_WORK/deep
mkdir "$deep"
(cd "$deep" && for _ in $(seq 25); do mkdir "$name" && cd "$name" || exit 1; done &&
    ln -s "$E2E_WORK/lib" via) || fail "cannot make the deep chain"
for _ in $(seq 25); do deep=$deep/$name; done

# expect_listing FOLDER-BOX: the two entries of the data folder are listed under it.
expect_listing() {
    wait_state_count row 2
    [ "$(state_lines folder)" = "$1" ] || fail "folder box shows '$(state_lines folder)'"
    state_lines row | grep -qxF "2${TAB}4096${TAB}two.bin" || fail "two.bin is not listed"
    state_lines row | grep -qxF "3${TAB}6144${TAB}sub" || fail "sub is not listed"
    [ "$(state_count message)" -eq 0 ] || fail "unexpected message: $(state_lines message)"
}

start_xvfb
start_ketrilo "$E2E_WORK/lib"
expect_listing "$E2E_WORK/lib/"
log "PASS: a link given on the command line lists its folder"

kill "$KETRILO_PID"
wait_until "the first window to close" window_gone "$MAIN_TITLE"
[ ${#deep} -gt 5000 ] || fail "the chain is only ${#deep} bytes"
start_ketrilo "$deep/via"
expect_listing "$deep/via/"
log "PASS: a folder past 4,096 bytes behind a link is listed"
