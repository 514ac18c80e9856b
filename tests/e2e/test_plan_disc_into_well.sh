#!/usr/bin/env bash
# A well several discs large, whose year folders are split down to files of the same names
# (photos/2019/p1.jpg, photos/2020/p1.jpg, ...): the user opens "複数ディスクに分ける…" from
# the well's menu, picks disc 2 in the plan dialog and takes it into the well. The well, the
# gauge and the status line then show disc 2 alone; its image panel shows what xorriso makes
# of disc 2's list written by --plan, to the sector, and the well hands over that list's items.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/data
# Sparse files: the plan reads sizes, never contents. 17 GB over 4.7 GB discs.
sparse() { mkdir -p "$(dirname "$1")" && truncate -s "$2" "$1"; }
for year in 2019 2020 2021; do
  for i in 1 2 3 4; do sparse "$data/photos/$year/p$i.jpg" 1300M; done
done
sparse "$data/film.mkv" 1600M

lists=$E2E_WORK/lists
mkdir -p "$lists"
"$KETRILO_BIN" --plan --out "$lists" "$data/photos" "$data/film.mkv" >"$E2E_WORK/plan.txt" ||
  fail "--plan failed: $(cat "$E2E_WORK/plan.txt")"
discs=$(grep -c "^disc$TAB" "$E2E_WORK/plan.txt")
[ "$discs" -ge 3 ] || fail "expected at least 3 discs: $(cat "$E2E_WORK/plan.txt")"
list2=$(ls "$lists"/*2.list)

start_xvfb
start_ketrilo
drop_from_peer "$data/photos" "$data/film.mkv"
wait_state_count well 2

# The well's menu by keyboard; the plan's entry is next to the last (Up wraps round to the
# last).
menu_open() { [ "$(xdotool search --onlyvisible --class ketrilo | wc -l)" -ge 2 ]; }
xdotool mousemove $(widget_center ListView1) click 1
xdotool key alt+w
wait_until "the well's menu" menu_open
xdotool key Up Up Return
wait_until "the plan dialog's discs" state_has "plan${TAB}${discs}${TAB}"
IFS=$TAB read -r _ count clusters sectors fill <<<"$(state_lines plan | sed -n 2p)"
log "disc 2: $count items, $clusters clusters, $sectors sectors, $fill"
[ "$(state_count plan)" -eq "$discs" ] ||
  fail "expected $discs discs: $(state_lines plan | tr '\t\n' ' |')"

# Disc 2 selected with the keyboard, then the button.
wait_until "the dialog's controls" state_has "geom${TAB}LoadButton$TAB"
xdotool mousemove $(widget_center ディスク一覧) click 1
xdotool key ctrl+Home Down
xdotool mousemove $(widget_center LoadButton) click 1

digits=${clusters//,/}
status_shows_disc2() { state_lines status | grep -q "^クラスタ:${clusters}個 "; }
wait_until "the status line of disc 2" status_shows_disc2
[ "$(state_count well)" -eq "$count" ] || fail "the well does not hold disc 2's $count items"
well_sum=$(state_lines well | awk -F'\t' '{ s += $1 } END { print s }')
[ "$well_sum" -eq "$digits" ] || fail "the well holds $well_sum clusters, disc 2 $digits"
[ "$(state_lines gauge)" -eq $((digits * 100 / 2298496)) ] || fail "gauge $(state_lines gauge)"
[ "$(state_count message)" -eq 0 ] || fail "unexpected message: $(state_lines message)"

# The items the well hands over are the list's, and its image is xorriso's of the list.
[ "$(state_lines well | cut -f3 | sort)" = "$(sed 's/^[^=]*=//' "$list2" | sort)" ] ||
  fail "the well is not disc 2's list: $(state_lines well | cut -f3 | tr '\n' ' ')"
xorriso_sectors=$(xorriso -as mkisofs -R -J -iso-level 3 -no-pad -graft-points \
  -path-list "$list2" -print-size 2>/dev/null) || fail "xorriso refused $list2"
panel_sectors() { state_lines image | sed -n 's/^イメージ:\([0-9,]*\)セクタ.*/\1/p' | tr -d ,; }
panel_is_xorrisos() { [ "$(panel_sectors)" = "$xorriso_sectors" ]; }
wait_until "the image panel to show xorriso's $xorriso_sectors sectors" panel_is_xorrisos
log "PASS: disc 2 of the plan is the well, its gauge, its status line and xorriso's image"
