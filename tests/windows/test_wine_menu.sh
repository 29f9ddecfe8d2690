# The Windows program under Wine: the window at its configured outer size, a
# click that opens the entry's program through the shell, the exit entry and
# the close button ending with status 0.
media=$E2E_WORK/media
mkdir -p "$media"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe" "$media/SETUP.EXE"
cat >"$media/AUTORUN.INF" <<'INF'
[Installation Form Size Setup]
Form Height=300
Form Width=400

[Exit Label Setup]
Exit Label Use=YES
Exit Label Caption=Leave
Exit Label Top=240
Exit Label Left=300

[Installation Message Label Count Setup]
Installation Message Label Count=1

[Installation Message Label 1 Font Setup]
Installation Message Label 1 Caption=Install
Installation Message Label 1 Font Top=40
Installation Message Label 1 Font Left=40
Installation Message Label 1 File Path=SETUP.EXE
INF
sed -i 's/$/\r/' "$media/AUTORUN.INF"

e2e_start "$media"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no window named Installation"
sleep 1
read -r _ _ w h < <(e2e_geometry "$wid")
# Form Width and Height are the outer size: Wine's dialog frame takes 3
# pixels on each side and a 22-pixel caption from it.
e2e_expect_eq "client size" "394x275" "${w}x${h}"

e2e_mouse "$wid" 50 48
e2e_click
for _ in $(seq 100); do [ -s "$media/opened.txt" ] && break; sleep 0.1; done
[ -s "$media/opened.txt" ] || e2e_fail "the entry's program was not started"
grep -q 'program=.*\\SETUP.EXE' "$media/opened.txt" || e2e_fail "wrong program: $(cat "$media/opened.txt")"
e2e_screenshot "$E2E_OUT/wine-menu.png"

e2e_mouse "$wid" 310 248
e2e_click
e2e_wait_exit 20 || e2e_fail "the exit entry did not end the program"
e2e_expect_eq "exit status after the exit entry" 0 "$E2E_STATUS"

# The close button (the window manager's close request).
e2e_start "$media"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no window after restart"
sleep 1
wmctrl -i -c "$wid"
e2e_wait_exit 20 || e2e_fail "closing the window did not end the program"
e2e_expect_eq "exit status after closing" 0 "$E2E_STATUS"
echo "ok"
