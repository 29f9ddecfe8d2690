# The demo menu under Wine looks like the Linux one: the same picture and
# labels in the same places; the fonts are Wine's substitutes, so text edges
# may differ. Windows' frame leaves a slightly smaller client area.
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
e2e_start "$demo"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no menu window"
sleep 1
e2e_mouse "$wid" 300 420  # over the background: the normal look
sleep 0.5
e2e_client_shot "$wid" "$E2E_OUT/wine-demo.png"
read -r _ _ w h < <(e2e_geometry "$wid")
convert "$AUTOMENU_SOURCE_DIR/tests/e2e/reference/demo.png" -crop "${w}x${h}+0+0" +repage "$E2E_WORK/reference.png"
diff_pixels=$(compare -metric AE -fuzz 20% "$E2E_OUT/wine-demo.png" "$E2E_WORK/reference.png" null: 2>&1)
echo "pixels that differ from the Linux reference: $diff_pixels"
[ "${diff_pixels%%.*}" -lt 6000 ] 2>/dev/null || e2e_fail "the demo differs from the Linux one in $diff_pixels pixels"
wmctrl -i -c "$wid"
e2e_wait_exit 20 || e2e_fail "closing the window did not end the program"
echo ok
