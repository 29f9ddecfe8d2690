# The Windows program with the keyboard alone, under Wine: the window has the
# focus when it appears; Tab gives entry 1 its hover look and a dotted focus
# cue that the mouse alone never draws; Tab Tab Return starts entry 2's
# program; Shift+Tab twice reaches the exit entry, whose Space closes the menu.
media=$E2E_WORK/media
mkdir -p "$media"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe" "$media/FIRST.EXE"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe" "$media/SECOND.EXE"

entry() {  # entry N CAPTION TOP PATH
    local k="Installation Message Label $1"
    printf '%s\n' "[$k Font Setup]" "$k Caption=$2" "$k Font Top=$3" "$k Font Left=40" "$k File Path=$4"
    e2e_label_looks "$k" clBlack NO 14
}
{
    printf '%s\n' "[Installation Form Size Setup]" "Form Height=300" "Form Width=400" \
        "[Exit Label Setup]" "Exit Label Use=YES" "Exit Label Caption=Leave" "Exit Label Top=240" \
        "Exit Label Left=300" "[Installation Message Label Count Setup]" "Installation Message Label Count=2"
    entry 1 Install 40 FIRST.EXE
    entry 2 Extras 80 SECOND.EXE
} | sed 's/$/\r/' >"$media/AUTORUN.INF"

entry1="30 34 200 34"
start() {
    xdotool mousemove 0 0
    e2e_start "$media"
    wid=$(e2e_wait_window Installation 60) || e2e_fail "no window named Installation"
    sleep 1
}

# The mouse alone: entry 1 in its hover look, no cue.
start
e2e_mouse "$wid" 50 48
e2e_mouse "$wid" 51 49
e2e_client_shot "$wid" "$E2E_OUT/wine-mouse.png"
[ "$(e2e_count_colour "$E2E_OUT/wine-mouse.png" $entry1 yellow)" -gt 30 ] || e2e_fail "the mouse gave entry 1 no hover look"
wmctrl -c Installation
e2e_wait_exit 20 || e2e_fail "the program did not end"

start
xdotool key Tab
sleep 0.5
e2e_client_shot "$wid" "$E2E_OUT/wine-tab.png"
[ "$(e2e_count_colour "$E2E_OUT/wine-tab.png" $entry1 yellow)" -gt 30 ] ||
    e2e_fail "Tab gave entry 1 no hover look (has the menu the focus?)"
convert "$E2E_OUT/wine-mouse.png" -crop "200x34+30+34" +repage "$E2E_OUT/wine-entry1-mouse.png"
convert "$E2E_OUT/wine-tab.png" -crop "200x34+30+34" +repage "$E2E_OUT/wine-entry1-tab.png"
cue=$(e2e_differing 10% "$E2E_OUT/wine-entry1-mouse.png" "$E2E_OUT/wine-entry1-tab.png" wine-cue)
[ "$cue" -gt 40 ] && [ "$cue" -lt 300 ] || e2e_fail "no focus cue around entry 1 ($cue pixels differ)"

xdotool key Tab Return
for _ in $(seq 100); do [ -s "$media/opened.txt" ] && break; sleep 0.1; done
grep -q 'program=.*\\SECOND.EXE$' "$media/opened.txt" 2>/dev/null ||
    e2e_fail "Tab Tab Return started: $(cat "$media/opened.txt" 2>/dev/null)"

xdotool key shift+Tab
sleep 0.3
xdotool key shift+Tab space
e2e_wait_exit 20 || e2e_fail "Space on the exit entry did not close the menu"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"
e2e_expect_eq "programs started" 1 "$(grep -c '^program=' "$media/opened.txt")"
echo "ok"
