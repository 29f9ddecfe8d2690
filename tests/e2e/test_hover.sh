# Hover highlighting on the real desktop: entry 3 takes its hover look when
# the pointer reaches it, keeps it when the pointer leaves the window, and
# takes its normal look at the next move over the background; edits of
# AUTORUN.INF show at the next move; a deleted file hides every entry at the
# next background move.
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
e2e_start "$demo"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"

entry3="40 218 260 26"  # x y w h of entry 3's area in the client
yellow() { e2e_count_colour "$1" $entry3 yellow; }
white() { e2e_count_colour "$1" $entry3 white; }

e2e_mouse "$wid" 300 420
e2e_mouse "$wid" 60 226
e2e_mouse "$wid" 62 227
e2e_client_shot "$wid" "$E2E_OUT/hover.png"
[ "$(yellow "$E2E_OUT/hover.png")" -gt 50 ] || e2e_fail "entry 3 shows no hover colour"

# Straight out of the window, through its left edge and past the caption
# bar: no move over the background, so entry 3 stays in hover.
e2e_mouse "$wid" -60 226
e2e_client_shot "$wid" "$E2E_OUT/left.png"
[ "$(yellow "$E2E_OUT/left.png")" -gt 50 ] || e2e_fail "entry 3 lost its hover look when the pointer left the window"
e2e_mouse "$wid" 60 226
e2e_mouse "$wid" 60 -80
e2e_client_shot "$wid" "$E2E_OUT/left-top.png"
[ "$(yellow "$E2E_OUT/left-top.png")" -gt 50 ] || e2e_fail "entry 3 lost its hover look when the pointer left upwards"

e2e_mouse "$wid" 300 420
e2e_client_shot "$wid" "$E2E_OUT/normal.png"
[ "$(yellow "$E2E_OUT/normal.png")" -lt 5 ] || e2e_fail "entry 3 kept its hover colour over the background"
[ "$(white "$E2E_OUT/normal.png")" -gt 50 ] || e2e_fail "entry 3 lost its normal look"

# An edit shows at the next move over the entry: a red hover colour.
sed -i 's/^Installation Message Label 3 Second Font Color=.*/Installation Message Label 3 Second Font Color=clRed\r/' \
    "$demo/AUTORUN.INF"
e2e_mouse "$wid" 60 226
e2e_mouse "$wid" 62 227
e2e_client_shot "$wid" "$E2E_OUT/edited.png"
[ "$(e2e_count_colour "$E2E_OUT/edited.png" $entry3 red)" -gt 50 ] || e2e_fail "the edited hover colour does not show"

# The file deleted: the next background move hides every entry.
rm "$demo/AUTORUN.INF"
e2e_mouse "$wid" 300 420
e2e_mouse "$wid" 302 421
e2e_client_shot "$wid" "$E2E_OUT/deleted.png"
[ "$(white "$E2E_OUT/deleted.png")" -lt 5 ] && [ "$(e2e_count_colour "$E2E_OUT/deleted.png" $entry3 red)" -lt 5 ] ||
    e2e_fail "entry 3 still shows after AUTORUN.INF was deleted"
[ "$(e2e_count_colour "$E2E_OUT/deleted.png" 560 410 60 30 silver 10)" -lt 5 ] ||
    e2e_fail "the exit entry still shows after AUTORUN.INF was deleted"

wmctrl -c Installation
e2e_wait_exit 10 || e2e_fail "the program did not end"
echo ok
