# Hints on the real desktop: resting the pointer on a visible entry shows a
# tooltip window below the pointer with the entry's hint, a window the window
# manager leaves alone (override-redirect), on top of the menu, never
# focused; it goes after its display time and comes back on another entry
# with that entry's hint.
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
e2e_start "$demo"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"
xdotool windowactivate --sync "$wid" 2>/dev/null

# e2e_tooltip: prints the id of the program's visible window other than the menu.
e2e_tooltip() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
        [ "$id" != "$wid" ] && { echo "$id"; return 0; }
    done
    return 1
}
# wait_tooltip SECONDS: the tooltip's id once it shows.
wait_tooltip() {
    for _ in $(seq $(( $1 * 20 ))); do e2e_tooltip && return 0; sleep 0.05; done
    return 1
}
# tooltip_gone SECONDS: true once no tooltip shows.
tooltip_gone() {
    for _ in $(seq $(( $1 * 20 ))); do e2e_tooltip >/dev/null || return 0; sleep 0.05; done
    return 1
}

e2e_mouse "$wid" 300 420  # the background: no hint
e2e_tooltip >/dev/null && e2e_fail "a tooltip shows over the background"

# Rest on entry 3: the hint comes after about half a second.
e2e_mouse "$wid" 60 226
tip=$(wait_tooltip 3) || e2e_fail "no tooltip after resting on entry 3"
read -r px py < <(xdotool getmouselocation | sed -E 's/x:([0-9]+) y:([0-9]+).*/\1 \2/')
read -r tx ty tw th < <(e2e_geometry "$tip")

e2e_expect_eq "override-redirect" yes "$(xwininfo -id "$tip" | awk '/Override Redirect State/{print $4}')"
[ "$ty" -gt "$py" ] && [ "$ty" -le $((py + 40)) ] || e2e_fail "tooltip top $ty, pointer at $py: not just below it"
[ $((tx - px)) -le 2 ] && [ $((px - tx)) -le 2 ] || e2e_fail "tooltip left $tx, pointer at $px"
[ "$th" -ge 12 ] && [ "$th" -le 40 ] && [ "$tw" -ge 60 ] && [ "$tw" -le 250 ] ||
    e2e_fail "tooltip size ${tw}x${th} does not fit one line of hint text"
# Never focused: the input focus stays with the menu.
focus=$(xdotool getwindowfocus 2>/dev/null)
[ "$focus" != "$tip" ] || e2e_fail "the tooltip took the input focus"
# On top: the root's children are listed bottom to top; the tooltip comes
# after the menu's frame.
stack=$(xwininfo -root -children | awk '/^ +0x/{print $1}')
frame=$(xwininfo -id "$wid" -tree | awk '/Parent window id/{print $4}')
tip_hex=$(printf '0x%x' "$tip")
tip_pos=$(grep -n -x "$tip_hex" <<<"$stack" | cut -d: -f1)
frame_pos=$(grep -n -x "$frame" <<<"$stack" | cut -d: -f1)
[ -n "$tip_pos" ] && [ -n "$frame_pos" ] && [ "$tip_pos" -lt "$frame_pos" ] ||
    e2e_fail "tooltip (position $tip_pos) is not above the menu's frame (position $frame_pos)"

# The text: pale yellow face with dark letters.
import -window root -crop "${tw}x${th}+${tx}+${ty}" +repage "$E2E_OUT/tooltip.png"
pale=$(e2e_count_colour "$E2E_OUT/tooltip.png" 0 0 "$tw" "$th" '#FFFFE1' 3)
dark=$(e2e_count_colour "$E2E_OUT/tooltip.png" 0 0 "$tw" "$th" black 30)
[ "$pale" -gt $((tw * th / 2)) ] || e2e_fail "tooltip face is not the info colour ($pale of $((tw * th)) pixels)"
[ "$dark" -gt 60 ] || e2e_fail "tooltip shows no text ($dark dark pixels)"
wide_tip=$tw

# After its display time (2.5 s) it goes, and does not come back while the
# pointer stays.
tooltip_gone 5 || e2e_fail "the tooltip stays beyond its display time"
sleep 1
e2e_tooltip >/dev/null && e2e_fail "the tooltip came back while the pointer stayed"

# The exit entry: a shorter hint, "Press to exit.".
e2e_mouse "$wid" 580 428
tip=$(wait_tooltip 3) || e2e_fail "no tooltip on the exit entry"
read -r _ _ tw th < <(e2e_geometry "$tip")
import -window root -crop "${tw}x${th}+$(e2e_geometry "$tip" | awk '{print $1 "+" $2}')" +repage "$E2E_OUT/tooltip-exit.png"
[ "$tw" -lt "$wide_tip" ] || e2e_fail "the exit hint (${tw} px) is not narrower than the install hint (${wide_tip} px)"

# Moving onto the background removes it.
e2e_mouse "$wid" 300 420
tooltip_gone 2 || e2e_fail "moving onto the background left the tooltip up"

wmctrl -c Installation
e2e_wait_exit 10 || e2e_fail "the program did not end"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"
echo ok
