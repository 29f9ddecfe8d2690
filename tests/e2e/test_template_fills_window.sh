# The template's background covers the whole inner area of the window
# whatever frame the window manager draws: no column or row of the window's
# face colour (240,240,240) is left at its right or bottom edge.
tool=$AUTOMENU_BUILD_DIR/automenu-tool
medium=$E2E_WORK/medium
"$tool" template "$medium" >/dev/null || e2e_fail "template failed"

e2e_start "$medium"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"
e2e_mouse "$wid" 300 300
e2e_client_shot "$wid" "$E2E_OUT/screen.png"
read -r w h < <(identify -format '%w %h\n' "$E2E_OUT/screen.png")
face=$(( $(e2e_count_colour "$E2E_OUT/screen.png" $((w - 4)) 0 4 "$h" 'rgb(240,240,240)' 2) +
         $(e2e_count_colour "$E2E_OUT/screen.png" 0 $((h - 4)) "$w" 4 'rgb(240,240,240)' 2) ))
e2e_expect_eq "face-coloured pixels at the right and bottom edges of ${w} x ${h}" 0 "$face"

wmctrl -c Installation
e2e_wait_exit 10 || e2e_fail "the menu did not close"
echo ok
