# Sourced by the Linux and the Wine case: the demo with its background as a
# PNG file and as a JPEG file (made from its bitmap by ImageMagick) shows the
# same window as with the bitmap: the PNG pixel for pixel, the JPEG within its
# loss. Usage: demo_backgrounds SECONDS (how long the window may take).

# demo_shot KIND SECONDS: the demo's client area with BACKGROUND.KIND, in
# $E2E_OUT/demo-KIND.png; the menu is closed again.
demo_shot() {
    local demo=$E2E_WORK/demo-$1 wid
    cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
    if [ "$1" != BMP ]; then
        convert "$demo/BACKGROUND.BMP" -quality 95 "$demo/BACKGROUND.$1"
        rm "$demo/BACKGROUND.BMP"
        sed -i "s|^BackGround Image Name=.*|BackGround Image Name=BACKGROUND.$1\r|" "$demo/AUTORUN.INF"
    fi
    e2e_start "$demo"
    wid=$(e2e_wait_window Installation "$2") || e2e_fail "no menu window with BACKGROUND.$1: $(cat "$E2E_WORK/app.err")"
    sleep 1
    e2e_mouse "$wid" 300 420  # over the background: the normal look
    sleep 0.5
    e2e_client_shot "$wid" "$E2E_OUT/demo-$1.png"
    wmctrl -i -c "$wid"
    e2e_wait_exit 20 || e2e_fail "closing the window did not end the program"
}

demo_backgrounds() {
    local kind differing
    for kind in BMP PNG JPG; do demo_shot "$kind" "$1"; done
    differing=$(compare -metric AE "$E2E_OUT/demo-PNG.png" "$E2E_OUT/demo-BMP.png" null: 2>&1)
    echo "PNG: $differing pixels differ from the bitmap's window"
    [ "${differing%%.*}" -eq 0 ] 2>/dev/null || e2e_fail "the PNG background differs in $differing pixels"
    # The gradient survives JPEG's loss within 4 %; its edges may not.
    differing=$(compare -metric AE -fuzz 4% "$E2E_OUT/demo-JPG.png" "$E2E_OUT/demo-BMP.png" null: 2>&1)
    echo "JPEG: $differing pixels differ by more than 4 % from the bitmap's window"
    [ "${differing%%.*}" -lt 2000 ] 2>/dev/null || e2e_fail "the JPEG background differs in $differing pixels"
}
