# On a desktop set to 192 ppi (Xft.dpi) the menu keeps its 96 ppi layout and
# the whole window is twice as large, drawn sharp: its inner area matches
# automenu-tool render --scale 2, and the 96 ppi window enlarged twice within
# a looser tolerance (that one is blurred); a pointer position maps back to
# design units, so hovering entry 2 at twice its design position highlights it.
tool=$AUTOMENU_BUILD_DIR/automenu-tool
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
"$tool" render "$demo" -o "$E2E_OUT/dpi-render-1.png" || e2e_fail "render failed"
"$tool" render "$demo" -o "$E2E_OUT/dpi-render-2.png" --scale 2 || e2e_fail "render --scale 2 failed"
"$tool" render "$demo" -o "$E2E_OUT/dpi-render-2-hover.png" --scale 2 --hover entry:2 || e2e_fail "render --hover failed"

# The window at 96 ppi, for its size.
e2e_start "$demo"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window at 96 ppi"
read -r _ _ w96 h96 < <(e2e_geometry "$wid")
wmctrl -c Installation
e2e_wait_exit 10 || e2e_fail "the menu did not close"

echo "Xft.dpi: 192" | xrdb -merge
e2e_start "$demo"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window at 192 ppi"
e2e_mouse "$wid" 600 900  # over the background
read -r _ _ w192 h192 < <(e2e_geometry "$wid")
# The width doubles; the height at least: the frame of a window manager that
# does not scale its own frame takes less of the configured outer height.
e2e_expect_eq "inner width at 192 ppi" $((2 * w96)) "$w192"
[ "$h192" -ge $((2 * h96)) ] || e2e_fail "inner height $h192 at 192 ppi, $h96 at 96 ppi"

e2e_client_shot "$wid" "$E2E_OUT/dpi-screen.png"
d=$(e2e_differing 20% "$E2E_OUT/dpi-render-2.png" "$E2E_OUT/dpi-screen.png" dpi-render-2)
[ "${d%%.*}" -lt 1200 ] 2>/dev/null || e2e_fail "the window differs from render --scale 2 in $d pixels"
convert "$E2E_OUT/dpi-render-1.png" -resize 200% "$E2E_OUT/dpi-render-1-enlarged.png"
d=$(e2e_differing 30% "$E2E_OUT/dpi-render-1-enlarged.png" "$E2E_OUT/dpi-screen.png" dpi-enlarged)
[ "${d%%.*}" -lt 6000 ] 2>/dev/null || e2e_fail "the window differs from the 96 ppi render enlarged in $d pixels"

e2e_mouse "$wid" 120 384  # entry 2 at (60, 192) in design units
sleep 3.3                 # past its hint's 500 + 2500 ms
e2e_client_shot "$wid" "$E2E_OUT/dpi-screen-hover.png"
d=$(e2e_differing 20% "$E2E_OUT/dpi-render-2-hover.png" "$E2E_OUT/dpi-screen-hover.png" dpi-hover)
[ "${d%%.*}" -lt 1200 ] 2>/dev/null || e2e_fail "the hovered window differs from its render in $d pixels"

wmctrl -c Installation
e2e_wait_exit 10 || e2e_fail "the menu did not close"
echo ok
