# automenu-tool.exe render draws what the Windows menu shows: the template's
# folder rendered, then the menu started there and its inner area taken from
# the screen, pixel for pixel (a few pixels of slack for the fonts' edges).
tool=$AUTOMENU_WINDOWS_BUILD/automenu-tool.exe
media=$E2E_WORK/media
wine "$tool" template "$(winepath -w "$media")" >/dev/null 2>&1 || e2e_fail "template failed"
wine "$tool" render "$(winepath -w "$media")" -o "$(winepath -w "$E2E_OUT")\\tool-render.png" >/dev/null 2>&1 ||
    e2e_fail "render failed"

xdotool mousemove 0 0
e2e_start "$media"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no window named Installation"
sleep 1
e2e_client_shot "$wid" "$E2E_OUT/menu-screen.png"
size() { identify -format '%wx%h' "$1"; }
[ "$(size "$E2E_OUT/tool-render.png")" = "$(size "$E2E_OUT/menu-screen.png")" ] ||
    e2e_fail "render is $(size "$E2E_OUT/tool-render.png"), the menu's inner area $(size "$E2E_OUT/menu-screen.png")"
differ=$(compare -metric AE -fuzz 10% "$E2E_OUT/tool-render.png" "$E2E_OUT/menu-screen.png" null: 2>&1)
echo "pixels that differ: $differ"
[ "${differ%% *}" -le 50 ] 2>/dev/null || e2e_fail "render and the menu's screen differ in $differ pixels"
wmctrl -c Installation
e2e_wait_exit 20 || e2e_fail "the program did not end"
echo ok
