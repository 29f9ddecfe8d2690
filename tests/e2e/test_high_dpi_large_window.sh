# On a high-DPI desktop the menu's window (640 x 480 design units, enlarged 3
# or 4 times) is larger than the screen: it is placed with its caption bar on
# the screen, close button included, and that button closes it.
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')
for dpi in 288 384; do
    echo "Xft.dpi: $dpi" | xrdb -merge
    e2e_start "$demo"
    wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window at $dpi ppi"
    sleep 0.5  # placed and drawn
    read -r gx gy gw _ < <(e2e_geometry "$wid")
    read -r fl fr ft _ < <(e2e_frame "$wid")
    outer_left=$((gx - fl)) outer_top=$((gy - ft)) outer_right=$((gx + gw + fr))
    [ "$outer_top" -ge 0 ] || e2e_fail "$dpi ppi: the caption's top is at $outer_top"
    [ "$gx" -ge 0 ] || e2e_fail "$dpi ppi: the caption's left end is at $gx"
    # The frame counts in whole design units, so a one-pixel border may
    # round to none: the caption may end a pixel beyond the screen.
    [ $((outer_right - fr)) -le $((screen_w + 1)) ] ||
        e2e_fail "$dpi ppi: the caption ends at $((outer_right - fr)) on a screen $screen_w wide"
    e2e_screenshot "$E2E_OUT/large-window-$dpi.png"
    # The close button: the caption's last few pixels, half way down it.
    close_x=$((outer_right - fr - 8))
    [ "$close_x" -lt "$screen_w" ] || e2e_fail "$dpi ppi: the close button is at $close_x, off the screen"
    xdotool mousemove "$close_x" $((outer_top + ft / 2)) click 1
    e2e_wait_exit 10 || e2e_fail "$dpi ppi: the close button did not close the menu (screen: $E2E_OUT/large-window-$dpi.png)"
    e2e_expect_eq "$dpi ppi: exit status" 0 "$E2E_STATUS"
done
echo ok
