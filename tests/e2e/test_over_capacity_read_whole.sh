#!/usr/bin/env bash
# A BD-R XL 128GB well far over capacity, as a user and a screen reader meet it: the disc
# chooser is named "ディスク" on the accessibility bus, the status line reads whole there
# with its 13-digit figures and negative remainder, and with E2E_SHOTS set a screenshot
# keeps the window for a person to check that every figure is whole.
source "$(dirname "$0")/lib.sh" "$@"

discs=$E2E_WORK/data/discs
mkdir -p "$discs"
# Sparse files: the sizes count, the disk holds almost nothing.
truncate -s 1234567890123 "$discs/archive.img" # 602,816,353 clusters
truncate -s 98765432109 "$discs/backup.img"    # 48,225,309 clusters

start_xvfb
start_desktop_session
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_ketrilo
wait_until "the disc chooser on the accessibility bus as ディスク" \
    accessible_shows ketrilo "ディスク" "combo box"

# Choose the last disc as a user does: click into the chooser and step down with the keys.
read -r x y <<<"$(accessible extents ketrilo "ディスク" "combo box")"
xdotool mousemove "$x" "$y" click 1
for _ in 1 2 3 4 5 6 7 8 9 10; do
    xdotool key Down
    sleep 0.05
done
drop_from_peer "$discs/archive.img" "$discs/backup.img"
wait_state_count well 2
start_peer source "$discs"
drag "150 100" "$(widget_center ListView3)"
stop_peer
wait_state_count row 2

line="クラスタ:651,041,662個 サイズ:1,333,333,323,776バイト(1041%) 残り容量:-1,205,331,554,304バイト"
status_is() { [ "$(state_lines status)" = "$line" ]; }
wait_until "the status line of BD-R XL 128GB over capacity" status_is
wait_until "the status line whole on the accessibility bus" accessible_shows ketrilo "$line" label
expect_well_row 602816353 1234567890944 "$discs/archive.img"
screenshot over-capacity
ketrilo_alive
log "PASS: the chooser is named ディスク and the status line reads whole"
