# The menu with the keyboard alone: the window has the keyboard focus when it
# appears; Tab gives entry 1 its hover look and the dotted focus cue, which a
# mouse over entry 1 draws without; Tab Tab Return opens entry 2 (a stub
# xdg-open logs it); the exit entry, reached backwards with Shift+Tab,
# closes the menu at Return.
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
bin=$E2E_WORK/bin
mkdir -p "$bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$E2E_WORK" >"$bin/xdg-open"
chmod +x "$bin/xdg-open"

# x y w h around entry 1 in the client, above where a hint would show.
entry1="30 142 300 34"
yellow() { e2e_count_colour "$1" $entry1 yellow; }
# start: the menu with the pointer outside its window.
start() {
    xdotool mousemove 0 0
    PATH="$bin:$PATH" e2e_start "$demo"
    wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"
    sleep 0.5
}
stop() {
    wmctrl -c Installation
    e2e_wait_exit 10 || e2e_fail "the program did not end"
}

# The mouse alone: entry 1 in its hover look.
start
e2e_mouse "$wid" 60 158
e2e_mouse "$wid" 62 159
e2e_client_shot "$wid" "$E2E_OUT/mouse.png"
[ "$(yellow "$E2E_OUT/mouse.png")" -gt 50 ] || e2e_fail "the mouse gave entry 1 no hover look"
stop

# The keys alone, sent to whatever window has the focus.
start
xdotool key Tab
sleep 0.3
e2e_client_shot "$wid" "$E2E_OUT/tab.png"
[ "$(yellow "$E2E_OUT/tab.png")" -gt 50 ] || e2e_fail "Tab gave entry 1 no hover look (has the menu the focus?)"
convert "$E2E_OUT/mouse.png" -crop "300x34+30+142" +repage "$E2E_OUT/entry1-mouse.png"
convert "$E2E_OUT/tab.png" -crop "300x34+30+142" +repage "$E2E_OUT/entry1-tab.png"
cue=$(e2e_differing 10% "$E2E_OUT/entry1-mouse.png" "$E2E_OUT/entry1-tab.png" cue)
# A dotted rectangle around a one-line label: every other pixel of its
# border, and nothing else changed.
[ "$cue" -gt 60 ] && [ "$cue" -lt 400 ] || e2e_fail "no focus cue around entry 1 ($cue pixels differ)"

xdotool key Tab Return
for _ in $(seq 40); do [ -s "$E2E_WORK/opened" ] && break; sleep 0.05; done
e2e_expect_eq "Tab Tab Return opens" "$demo/docs" "$(cat "$E2E_WORK/opened" 2>/dev/null)"

xdotool key shift+Tab
sleep 0.2
xdotool key shift+Tab Return
e2e_wait_exit 10 || e2e_fail "Return on the exit entry did not close the menu"
e2e_expect_eq "lines opened" 1 "$(wc -l <"$E2E_WORK/opened")"
echo ok
