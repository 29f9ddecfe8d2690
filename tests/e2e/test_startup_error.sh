# A value that is not an integer stops start-up: the program's own error box,
# captioned "Automenu", with the conversion message, centred on the screen
# with the keyboard focus, drawn as automenu-tool draws it (the committed
# reference). Enter, Escape, Space, a click on OK and the close button each
# dismiss it, and the program then ends with status 0. Killed while the box
# is up, the program leaves no window behind.
folder=$E2E_WORK/menu
mkdir "$folder"
printf '[Installation Form Size Setup]\r\nForm Height=abc\r\nForm Width=640\r\n' >"$folder/AUTORUN.INF"

# start_box: starts the menu; its box's window id goes to BOX.
start_box() {
    e2e_start "$folder"
    BOX=$(e2e_wait_window Automenu 10) || e2e_fail "no error box captioned Automenu (program: $(ps -o stat=,wchan= -p "$E2E_APP_PID"); windows: $(wmctrl -l))"
    sleep 0.3  # painted
}

# expect_end HOW: the program has ended as a start-up error ends it.
expect_end() {
    e2e_wait_exit 10 || e2e_fail "$1: the program did not end after the box"
    e2e_expect_eq "$1: exit status" 0 "$E2E_STATUS"
    e2e_expect_eq "$1: message" "Automenu: 'abc' is not a valid integer value." "$(cat "$E2E_WORK/app.err")"
    [ -z "$(wmctrl -l | grep -E ' (Automenu|Installation)$')" ] || e2e_fail "$1: a window is still there"
}

start_box
[ -z "$(xdotool search --onlyvisible --name '^Installation$' 2>/dev/null)" ] || e2e_fail "the menu window is up with the box"
e2e_expect_eq "focus" "$BOX" "$(xdotool getwindowfocus)"
read -r gx gy gw gh < <(e2e_geometry "$BOX")
read -r fl fr ft fb < <(e2e_frame "$BOX")
ow=$((gw + fl + fr)) oh=$((gh + ft + fb))
dx=$((gx - fl - (1280 - ow) / 2)) dy=$((gy - ft - (1024 - oh) / 2))
[ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] || e2e_fail "the box is not centred: off by $dx, $dy"
e2e_client_shot "$BOX" "$E2E_OUT/error-box.png"
reference=$AUTOMENU_SOURCE_DIR/tests/e2e/reference/error-box.png
e2e_expect_eq "size" "$(identify -format %wx%h "$reference")" "$(identify -format %wx%h "$E2E_OUT/error-box.png")"
d=$(compare -metric AE -fuzz 20% "$E2E_OUT/error-box.png" "$reference" null: 2>&1)
[ "${d%%.*}" -lt 100 ] 2>/dev/null || e2e_fail "the box differs from the reference in $d pixels"
xdotool key Return
expect_end Enter

for key in Escape space; do
    start_box
    xdotool key "$key"
    expect_end "$key"
done

start_box
read -r gx gy gw gh < <(e2e_geometry "$BOX")
xdotool mousemove $((gx + gw / 2)) $((gy + gh - 11 - 12)) click 1
expect_end "click on OK"

start_box
wmctrl -c Automenu
expect_end "close button"

start_box
kill -9 "$E2E_APP_PID"
wait "$E2E_APP_PID" 2>/dev/null
sleep 0.5
[ -z "$(wmctrl -l | grep -E ' (Automenu|Installation)$')" ] || e2e_fail "killed, the program left a window: $(wmctrl -l)"
echo ok
