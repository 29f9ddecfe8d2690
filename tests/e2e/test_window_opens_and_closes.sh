# The menu window appears centred with caption "Installation" and a 634 x 454
# inner area; the window manager's close and Alt+F4 both end it with status 0.
folder=$(mktemp -d)

for how in wmctrl alt-f4; do
    e2e_start "$folder"
    wid=$(e2e_wait_window Installation 10) || e2e_fail "no window named Installation"
    read -r x y w h < <(e2e_geometry "$wid")
    e2e_expect_eq "inner size" "634x454" "${w}x${h}"
    read -r fl fr ft fb < <(e2e_frame "$wid")
    outer_w=$((w + fl + fr)); outer_h=$((h + ft + fb))
    want_x=$(((1280 - outer_w) / 2)); want_y=$(((1024 - outer_h) / 2))
    got_x=$((x - fl)); got_y=$((y - ft))
    [ "${got_x#-}" -ge 0 ] && [ $((got_x - want_x)) -le 1 ] && [ $((want_x - got_x)) -le 1 ] ||
        e2e_fail "outer left $got_x, centred would be $want_x"
    [ $((got_y - want_y)) -le 1 ] && [ $((want_y - got_y)) -le 1 ] ||
        e2e_fail "outer top $got_y, centred would be $want_y"
    e2e_screenshot "$E2E_WORK/$how.png"
    if [ "$how" = wmctrl ]; then
        wmctrl -c Installation
    else
        xdotool windowactivate --sync "$wid"
        xdotool key --window "$wid" alt+F4
    fi
    e2e_wait_exit 10 || e2e_fail "$how: the program did not end"
    e2e_expect_eq "$how: exit status" 0 "$E2E_STATUS"
done
echo "ok"
