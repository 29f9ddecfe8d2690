# The menu window appears centred for its design size with caption
# "Installation"; the configured outer size keeps that top-left corner. The
# window manager's close and Alt+F4 both end the program with status 0.
empty=$E2E_WORK/empty
sized=$E2E_WORK/sized
mkdir "$empty" "$sized"

check_window() {  # check_window WID INNER_W INNER_H
    read -r x y w h < <(e2e_geometry "$1")
    e2e_expect_eq "inner size" "$2x$3" "${w}x${h}"
    read -r fl fr ft fb < <(e2e_frame "$1")
    # Centred for the design size (634 x 454 inside the frame), once.
    want_x=$(((1280 - (634 + fl + fr)) / 2)); want_y=$(((1024 - (454 + ft + fb)) / 2))
    got_x=$((x - fl)); got_y=$((y - ft))
    [ $((got_x - want_x)) -le 1 ] && [ $((want_x - got_x)) -le 1 ] ||
        e2e_fail "outer left $got_x, centred for the design size would be $want_x"
    [ $((got_y - want_y)) -le 1 ] && [ $((want_y - got_y)) -le 1 ] ||
        e2e_fail "outer top $got_y, centred for the design size would be $want_y"
}

# No AUTORUN.INF: the size reads as 0 x 0, raised to the smallest captioned
# window; closed through the window manager.
e2e_start "$empty"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no window named Installation"
read -r fl fr ft fb < <(e2e_frame "$wid")
read -r _ _ w h < <(e2e_geometry "$wid")
[ "$w" -ge 1 ] && [ "$h" -ge 1 ] && [ "$w" -lt 634 ] && [ "$h" -lt 454 ] || e2e_fail "tiny window is ${w}x${h}"
check_window "$wid" "$w" "$h"
wmctrl -c Installation
e2e_wait_exit 10 || e2e_fail "wmctrl close: the program did not end"
e2e_expect_eq "wmctrl close: exit status" 0 "$E2E_STATUS"

# An outer size that gives the design's inner area; closed with Alt+F4.
printf '[Installation Form Size Setup]\r\nForm Height=%d\r\nForm Width=%d\r\n' \
    $((454 + ft + fb)) $((634 + fl + fr)) >"$sized/AUTORUN.INF"
e2e_start "$sized"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no window named Installation"
check_window "$wid" 634 454
e2e_screenshot "$E2E_WORK/sized.png"
# Alt+F4 is the window manager's key: it must reach the X server as real
# input while the menu has the focus (sent to a window that does not have it,
# xdotool would hand it to that window alone, where nothing closes it).
xdotool windowactivate --sync "$wid"
for _ in $(seq 100); do [ "$(xdotool getwindowfocus 2>/dev/null)" = "$wid" ] && break; sleep 0.05; done
xdotool key alt+F4
e2e_wait_exit 10 || e2e_fail "Alt+F4: the program did not end"
e2e_expect_eq "Alt+F4: exit status" 0 "$E2E_STATUS"
echo ok
