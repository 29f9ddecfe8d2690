# An error during an event in the Windows program, under Wine: a press on
# entry 1, then a move over it while its position in AUTORUN.INF is not a
# number. The error box shows; after OK the menu is the active window again
# (hints show without a click), and the press has ended with the error: the
# release over entry 1 starts nothing. The next click starts its program.
media=$E2E_WORK/media
mkdir -p "$media"
cp "$AUTOMENU_SOURCE_DIR/examples/demo/BACKGROUND.BMP" "$media/"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe" "$media/FIRST.EXE"
k="Installation Message Label 1"
write_autorun() {  # write_autorun TOP
    {
        e2e_form_640
        printf '%s\n' "[Installation Message Label Count Setup]" "Installation Message Label Count=1" \
            "[$k Font Setup]" "$k Caption=Install" "$k Font Top=$1" "$k Font Left=40" "$k File Path=FIRST.EXE"
        e2e_label_looks "$k" clWhite NO 14
    } | sed 's/$/\r/' >"$media/AUTORUN.INF"
}
# hint_window: the program's visible window besides the menu, if any.
hint_window() {
    for w in $(xdotool search --onlyvisible --class automenu.exe 2>/dev/null); do
        [ "$w" = "$wid" ] || echo "$w"
    done
}

write_autorun 40
xdotool mousemove 0 0
e2e_start "$media"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no window named Installation"
sleep 1
e2e_mouse "$wid" 300 300
e2e_mouse "$wid" 50 48
xdotool mousedown 1
sleep 0.3
write_autorun abc
e2e_mouse "$wid" 52 50
e2e_dismiss_box automenu || e2e_fail "no error box captioned automenu"
sleep 0.5
e2e_expect_eq "active window after the box" "$wid" "$(xdotool getactivewindow)"
write_autorun 40
xdotool mouseup 1
sleep 1.5
[ ! -s "$media/opened.txt" ] || e2e_fail "the release after the error started: $(cat "$media/opened.txt")"

# Active again: a hint shows without a click.
e2e_mouse "$wid" 300 300
e2e_mouse "$wid" 50 48
sleep 1.2
[ -n "$(hint_window)" ] || e2e_fail "no hint after the error box"

e2e_click
for _ in $(seq 100); do [ -s "$media/opened.txt" ] && break; sleep 0.1; done
grep -q 'program=.*\\FIRST.EXE$' "$media/opened.txt" 2>/dev/null ||
    e2e_fail "the click after the error started: $(cat "$media/opened.txt" 2>/dev/null)"
wmctrl -c Installation
e2e_wait_exit 20 || e2e_fail "the program did not end"
echo ok
