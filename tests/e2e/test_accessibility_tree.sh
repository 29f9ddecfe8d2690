# The menu as a screen reader reads it on Linux: under a session bus of its
# own with an accessibility bus (at-spi2-core), a client (pyatspi) finds the
# program with one frame captioned like the window, whose children are the
# shown labels (title and text line as labels, entries and exit entry as push
# buttons with their hint and a "click" action), each where it is drawn; Tab
# moves the focus to entry 1 and says so; a caption of entry 2 changed in
# the file is a name change when the mouse comes over it, and the focus
# follows the mouse; entry 2's click opens what a click opens; another window
# taking the keyboard and giving it back deactivates and activates the frame.
# Skipped (77) without at-spi2-core or python3-pyatspi.
launcher=/usr/libexec/at-spi-bus-launcher
python=/usr/bin/python3
if [ ! -x "$launcher" ] || ! command -v dbus-run-session >/dev/null || ! "$python" -c 'import pyatspi' 2>/dev/null; then
    echo "skipped: at-spi2-core and python3-pyatspi are needed"
    exit 77
fi
# A session bus of its own, around the rest of the case.
if [ -z "${E2E_ATSPI_SESSION:-}" ]; then
    E2E_ATSPI_SESSION=1 dbus-run-session -- bash -c '
        . "$0/lib.sh"
        trap e2e_cleanup EXIT
        . "$1"
    ' "$AUTOMENU_SOURCE_DIR/tests/e2e" "${BASH_SOURCE[0]}" 2> >(grep -v "fd limit" >&2)
    exit $?
fi

"$launcher" >"$E2E_WORK/launcher.log" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.a11y.Bus 2>/dev/null | grep -q true && break
    sleep 0.05
done
client() { "$python" "$AUTOMENU_SOURCE_DIR/tests/e2e/atspi_client.py" "$@" 2>>"$E2E_WORK/client.err"; }

media=$E2E_WORK/media
mkdir -p "$media"
touch "$media/first.txt" "$media/second.txt"
bin=$E2E_WORK/bin
mkdir -p "$bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$E2E_WORK" >"$bin/xdg-open"
chmod +x "$bin/xdg-open"

autorun() { e2e_accessible_autorun "$media" "$1" first.txt second.txt; }
autorun Extras

xdotool mousemove 0 0
PATH="$bin:$PATH" e2e_start "$media"
wid=$(e2e_wait_window Installation 30) || e2e_fail "no window named Installation"
client wait 30 || e2e_fail "not in the accessibility tree: $(cat "$E2E_WORK/client.err")"

list=$(client list)
echo "$list"
expect_line() {  # expect_line PATTERN WHAT
    grep -qE "^$1\$" <<<"$list" || e2e_fail "$2: no line /$1/ in the list"
}
read -r client_x client_y client_width client_height < <(e2e_geometry "$wid")
expect_line "frame \"Installation\" children=5 state=showing,active at=$client_x,$client_y size=${client_width}x$client_height" \
    "the frame"
expect_line 'child 0 label "Welcome" description="" actions= state=showing at=40,10 size=[0-9]+x[0-9]+' "the title"
expect_line 'child 1 label "Read me first" description="" actions= state=showing at=40,60 size=[0-9]+x[0-9]+' \
    "text line 1"
expect_line 'child 2 push button "Install" description="Press to install." actions=click/Open state=focusable,showing at=40,100 size=[0-9]+x[0-9]+' \
    "entry 1, its mark dropped"
expect_line 'child 3 push button "Extras" description="Press to install." actions=click/Open state=focusable,showing at=40,140 size=[0-9]+x[0-9]+' \
    "entry 2"
expect_line 'child 4 push button "Leave" description="Press to exit." actions=click/Close state=focusable,showing at=300,240 size=[0-9]+x[0-9]+' \
    "the exit entry"

# The focus and name events of a key press and a hover, heard from another process.
client events 6 >"$E2E_WORK/events.txt" &
listener=$!
for _ in $(seq 100); do grep -q listening "$E2E_WORK/events.txt" && break; sleep 0.1; done
xdotool key Tab
sleep 0.5
autorun "More extras"
e2e_mouse "$wid" 50 147
e2e_mouse "$wid" 52 148
sleep 0.5
wait "$listener"
events=$(grep -v listening "$E2E_WORK/events.txt" | tr '\n' ' ')
e2e_expect_eq "the events" 'focus "Install" name "More extras" focus "More extras" ' "$events"
list=$(client list)
grep -qE '^child 2 push button "Install" .* state=focusable,showing ' <<<"$list" &&
    grep -qE '^child 3 push button "More extras" .* state=focusable,focused,showing ' <<<"$list" ||
    e2e_fail "entry 2 not renamed and focused in the tree: $list"

e2e_expect_eq "entry 2's click" "done" "$(client do "More extras")"
for _ in $(seq 100); do [ -s "$E2E_WORK/opened" ] && break; sleep 0.05; done
e2e_expect_eq "entry 2's click opens" "$media/second.txt" "$(cat "$E2E_WORK/opened" 2>/dev/null)"

# Another window takes the keyboard and gives it back: the frame says so.
client events 5 >"$E2E_WORK/window-events.txt" &
listener=$!
for _ in $(seq 100); do grep -q listening "$E2E_WORK/window-events.txt" && break; sleep 0.1; done
xmessage -name other "another window" &
other=$!
sleep 1.5
kill "$other"
wait "$listener"
events=$(grep -E '^(activate|deactivate) ' "$E2E_WORK/window-events.txt" | tr '\n' ' ')
e2e_expect_eq "the window events" 'deactivate "Installation" activate "Installation" ' "$events"

wmctrl -c Installation
e2e_wait_exit 20 || e2e_fail "the program did not end"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"
echo "ok"
