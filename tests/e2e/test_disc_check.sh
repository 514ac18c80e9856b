#!/usr/bin/env bash
# The disc check: a well holding one case of every kind the burner would change or refuse
# shows each in the "ディスクの検査" dialog, and the command line prints the same checks.
source "$(dirname "$0")/lib.sh" "$@"

data=$E2E_WORK/data
w=$data/w
long65=$(printf 'L%.0s' {1..65})
cut64=$(printf 'c%.0s' {1..64})
p60=$(printf 'p%.0s' {1..60})
make_file "$w/$long65" 1
make_file "$w/a:b" 1
make_file "$w/${cut64}1" 1
make_file "$w/${cut64}2" 1
mkdir -p "$w/d/d/d/d/d/d/d/d" "$w/$p60/$p60/$p60/$p60"
make_file "$w/$p60/$p60/$p60/$p60/last-straw" 1
truncate -s 4G "$w/big"
make_file "$data/x/w" 1

# kind|path|reason: what the dialog must show.
expected=(
    "root-name-collision|$data/x/w|ウェルに同じ名前の項目がほかにもあります"
    "joliet-name-too-long|$w/$long65|名前が64文字を超えています (Windows で見える名前)"
    "joliet-character|$w/a:b|Windows で使えない文字 (* / : ; ? \\ や制御文字) があります"
    "joliet-name-too-long|$w/${cut64}1|名前が64文字を超えています (Windows で見える名前)"
    "joliet-name-collision|$w/${cut64}1|64文字に切ると同じフォルダの別の名前と同じになります"
    "joliet-name-too-long|$w/${cut64}2|名前が64文字を超えています (Windows で見える名前)"
    "joliet-name-collision|$w/${cut64}2|64文字に切ると同じフォルダの別の名前と同じになります"
    "file-over-4gib|$w/big|4 GiB 以上のファイルです"
    "path-too-deep|$w/d/d/d/d/d/d/d|フォルダの階層が8段を超えています"
    "path-too-long|$w/$p60/$p60/$p60/$p60/last-straw|パスが255バイトを超えています"
    "joliet-path-too-long|$w/$p60/$p60|Windows で見えるパスが長すぎます (Joliet のパスが240バイトを超えます)"
)

start_xvfb
start_ketrilo
drop_from_peer "$w" "$data/x/w"
wait_state_count well 2
# The findings the dialog must show are the full layout's: wait until it has measured the well.
image_judged() { state_lines image-figure | grep -qx 'confirmed\|replaced'; }
wait_until "the image to be judged" image_judged

xdotool windowfocus --sync "$KETRILO_WID"
xdotool key alt+w Down Down Return
dialog=$(wait_window "ディスクの検査")
wait_state_count check ${#expected[@]}
for e in "${expected[@]}"; do
    IFS='|' read -r _ path reason <<<"$e"
    state_lines check | grep -aqF "$path$TAB$reason$TAB" ||
        fail "the dialog lacks '$reason' for $path; it shows: $(state_lines check | tr '\t\n' ' |')"
done
xdotool windowfocus --sync "$dialog"
xdotool key Escape
wait_until "the dialog to close" window_gone "ディスクの検査"
ketrilo_alive
log "PASS: the dialog shows one row per finding"

out=$("$KETRILO_BIN" --measure --image "$w" "$data/x/w")
[ "$(grep -c "^check$TAB" <<<"$out")" -eq ${#expected[@]} ] || fail "command line checks: $out"
for e in "${expected[@]}"; do
    IFS='|' read -r kind path _ <<<"$e"
    grep -qxF "check$TAB$kind$TAB$path" <<<"$out" || fail "no '$kind' for $path on the command line"
done
grep -q "^image$TAB[0-9]*$TAB[0-9]*\$" <<<"$out" || fail "no image line: $out"
log "PASS: the command line prints the same checks"
