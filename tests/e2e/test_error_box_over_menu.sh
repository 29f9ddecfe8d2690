# An error at a mouse move: the box comes up above the menu (which stays,
# and is the window it is kept above), the menu takes no click while the box
# is up, and after OK the menu goes on; the next move over the entry shows
# the box again.
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
sed -i 's/^Installation Message Label 2 Second Font Size=.*/Installation Message Label 2 Second Font Size=big\r/' \
    "$demo/AUTORUN.INF"
e2e_start "$demo"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"

# show_box: a move over the background, then over entry 2; its box goes to BOX.
show_box() {
    e2e_mouse "$wid" 300 420
    e2e_mouse "$wid" 60 192
    BOX=$(e2e_wait_window Automenu 10) || e2e_fail "no error box at the move over entry 2"
    sleep 0.3
}

show_box
xprop -id "$BOX" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$wid")" || e2e_fail "the box is not kept above the menu"
e2e_expect_eq "focus" "$BOX" "$(xdotool getwindowfocus)"
e2e_mouse "$wid" 585 428  # the exit entry
e2e_click
kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "a click on the menu went through while the box was up"
[ -n "$(xdotool search --onlyvisible --name '^Automenu$')" ] || e2e_fail "the box went at a click on the menu"
read -r gx gy gw gh < <(e2e_geometry "$BOX")
xdotool mousemove $((gx + gw / 2)) $((gy + gh - 11 - 12)) click 1
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Automenu$')" ] || e2e_fail "OK left the box up"
kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the menu ended with the box"

show_box
xdotool key Return
sleep 0.5
[ "$(grep -c "Automenu: 'big' is not a valid integer value." "$E2E_WORK/app.err")" = 2 ] ||
    e2e_fail "messages: $(cat "$E2E_WORK/app.err")"
wmctrl -c Installation
e2e_wait_exit 10 || e2e_fail "the menu did not close"
echo ok
