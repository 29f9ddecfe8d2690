# Two quick clicks on two neighbouring entries (30 pixels apart, 0.2 s apart)
# launch both; a real double click on one entry launches it once; the
# desktop's double-click time, where a settings manager gives one, applies.
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
# Entry 2 right under entry 1: closer than SDL's own 32-pixel click radius.
sed -i "s|^Installation Message Label 2 Font Top=.*|Installation Message Label 2 Font Top=180\r|" "$demo/AUTORUN.INF"

bin=$E2E_WORK/bin
mkdir -p "$bin"
cat >"$bin/xdg-open" <<STUB
#!/bin/sh
printf '%s\n' "\$1" >>"$E2E_WORK/opened"
STUB
chmod +x "$bin/xdg-open"
PATH="$bin:$PATH" e2e_start "$demo"

wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"
read -r gx gy _ _ < <(e2e_geometry "$wid")
e2e_mouse "$wid" 300 420
xdotool mousemove $((gx + 60)) $((gy + 158)) click 1 sleep 0.2 mousemove $((gx + 60)) $((gy + 188)) click 1
sleep 1
e2e_expect_eq "quick clicks on two entries" "$(printf '%s\n%s' "$demo/readme.txt" "$demo/docs")" \
    "$(cat "$E2E_WORK/opened" 2>/dev/null)"

: >"$E2E_WORK/opened"
xdotool mousemove $((gx + 60)) $((gy + 158)) sleep 0.2 click --repeat 2 --delay 80 1
sleep 1
e2e_expect_eq "a double click" "$demo/readme.txt" "$(cat "$E2E_WORK/opened" 2>/dev/null)"

wmctrl -c Installation
e2e_wait_exit 10 || e2e_fail "the menu did not end"

# A desktop whose double-click time is 100 ms: presses 250 ms apart are two clicks.
printf 'Net/DoubleClickTime 100\n' >"$E2E_WORK/xsettings"
xsettingsd -c "$E2E_WORK/xsettings" >/dev/null 2>&1 &
E2E_PIDS+=($!)
# The menu asks at its first click, by when the manager has long taken over.
sleep 0.3
: >"$E2E_WORK/opened"
PATH="$bin:$PATH" e2e_start "$demo"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"
read -r gx gy _ _ < <(e2e_geometry "$wid")
xdotool mousemove $((gx + 60)) $((gy + 158)) sleep 0.2 click --repeat 2 --delay 250 1
sleep 1
e2e_expect_eq "two clicks slower than the desktop's double click" \
    "$(printf '%s\n%s' "$demo/readme.txt" "$demo/readme.txt")" "$(cat "$E2E_WORK/opened" 2>/dev/null)"
wmctrl -c Installation
e2e_wait_exit 10 || e2e_fail "the menu did not end"
echo ok
