# The Windows program as assistive technology reads it, under Wine: another
# process asks for the client area's IAccessible and finds the shown labels
# as its children (title and text lines as text, the entries and the exit
# entry as buttons with their hint and default action, each where it is
# drawn); Tab moves the focus there and says so; a caption changed in the
# file is a name change at the next key; the default action of entry 2
# starts its program as a click does.
media=$E2E_WORK/media
mkdir -p "$media"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe" "$media/FIRST.EXE"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe" "$media/SECOND.EXE"
probe() { wine "$AUTOMENU_WINDOWS_BUILD/tests/windows/accessibility_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

autorun() { e2e_accessible_autorun "$media" "$1" FIRST.EXE SECOND.EXE; }
autorun Extras

xdotool mousemove 0 0
e2e_start "$media"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no window named Installation"
sleep 1

list=$(probe list)
echo "$list"
expect_line() {  # expect_line PATTERN WHAT
    grep -qE "^$1\$" <<<"$list" || e2e_fail "$2: no line /$1/ in the list"
}
e2e_expect_eq "children listed" 5 "$(grep -c '^child ' <<<"$list")"
read -r _ _ client_width client_height < <(e2e_geometry "$wid")
expect_line "client client \"Installation\" children=5 size=${client_width}x$client_height" "the client area"
expect_line 'child 1 text "Welcome" description="" action="" state=readonly at=40,10 size=[0-9]+x[0-9]+' "the title"
expect_line 'child 2 text "Read me first" description="" action="" state=readonly at=40,60 size=[0-9]+x[0-9]+' \
    "text line 1"
expect_line 'child 10 button "Install" description="Press to install." action="Open" state=focusable at=40,100 size=[0-9]+x[0-9]+' \
    "entry 1, its mark dropped"
expect_line 'child 11 button "Extras" description="Press to install." action="Open" state=focusable at=40,140 size=[0-9]+x[0-9]+' \
    "entry 2"
expect_line 'child 18 button "Leave" description="Press to exit." action="Close" state=focusable at=300,240 size=[0-9]+x[0-9]+' \
    "the exit entry"

# The focus and name events of two key presses, heard from another process.
wine "$AUTOMENU_WINDOWS_BUILD/tests/windows/accessibility_probe.exe" events 15000 >"$E2E_WORK/events.txt" 2>/dev/null &
listener=$!
for _ in $(seq 100); do grep -q listening "$E2E_WORK/events.txt" && break; sleep 0.1; done
xdotool key Tab
sleep 0.5
e2e_expect_eq "the focus after Tab" 'focus 10 "Install"' "$(probe focus)"
autorun "More extras"
xdotool key Tab
sleep 0.5
e2e_expect_eq "the focus after Tab Tab" 'focus 11 "More extras"' "$(probe focus)"
wait "$listener"
events=$(tr -d '\r' <"$E2E_WORK/events.txt" | grep -v listening | tr '\n' ' ')
e2e_expect_eq "the events" "focus 10 name 11 focus 11 " "$events"

e2e_expect_eq "entry 2's default action" "done 11" "$(probe do "More extras")"
for _ in $(seq 100); do [ -s "$media/opened.txt" ] && break; sleep 0.1; done
grep -q 'program=.*\\SECOND.EXE$' "$media/opened.txt" 2>/dev/null ||
    e2e_fail "entry 2's default action started: $(cat "$media/opened.txt" 2>/dev/null)"

wmctrl -c Installation
e2e_wait_exit 20 || e2e_fail "the program did not end"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"
e2e_expect_eq "programs started" 1 "$(grep -c '^program=' "$media/opened.txt")"
echo "ok"
