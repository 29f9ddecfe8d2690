# The Windows program's hover and hints under Wine: entry 1 takes its hover
# look when the pointer reaches it and keeps it when the pointer leaves the
# window (no move reaches the background then); a move over the background
# gives it back its normal look. Resting on entry 1 shows its hint below the
# pointer: a window of its own, without a frame, that a move over the
# background removes.
media=$E2E_WORK/media
mkdir -p "$media"
cp "$AUTOMENU_SOURCE_DIR/examples/demo/BACKGROUND.BMP" "$media/"
k="Installation Message Label 1"
{
    e2e_form_640
    printf '%s\n' "[Installation Message Label Count Setup]" "Installation Message Label Count=1" \
        "[$k Font Setup]" "$k Caption=Install" "$k Font Top=40" "$k Font Left=40" "$k File Path=SETUP.EXE"
    e2e_label_looks "$k" clWhite NO 14
} | sed 's/$/\r/' >"$media/AUTORUN.INF"

entry1="30 34 200 34"
yellow() { e2e_count_colour "$1" $entry1 yellow; }
xdotool mousemove 0 0
e2e_start "$media"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no window named Installation"
sleep 1

e2e_mouse "$wid" 300 300
e2e_mouse "$wid" 50 48
e2e_mouse "$wid" 51 49
e2e_client_shot "$wid" "$E2E_OUT/wine-hover.png"
[ "$(yellow "$E2E_OUT/wine-hover.png")" -gt 30 ] || e2e_fail "entry 1 shows no hover look"

# Rested on: the hint, below the pointer, in a window of its own.
sleep 1
read -r gx gy _ _ < <(e2e_geometry "$wid")
hint=""
for w in $(xdotool search --onlyvisible --class automenu.exe 2>/dev/null); do
    [ "$w" = "$wid" ] || hint=$w
done
[ -n "$hint" ] || e2e_fail "no hint after resting on entry 1"
read -r hx hy hw hh < <(e2e_geometry "$hint")
[ "$hx" -eq $((gx + 51)) ] && [ "$hy" -gt $((gy + 49)) ] && [ "$hy" -lt $((gy + 49 + 40)) ] ||
    e2e_fail "the hint is at $hx,$hy, not below the pointer at $((gx + 51)),$((gy + 49))"
[ "$hh" -ge 14 ] && [ "$hh" -le 24 ] && [ "$hw" -gt 40 ] && [ "$hw" -lt 200 ] ||
    e2e_fail "the hint is ${hw}x${hh}"
echo "hint: ${hw}x${hh} at $((hx - gx)),$((hy - gy)) in the client"

# Out of the window through its left edge: still in hover.
e2e_mouse "$wid" -60 49
e2e_client_shot "$wid" "$E2E_OUT/wine-left.png"
[ "$(yellow "$E2E_OUT/wine-left.png")" -gt 30 ] || e2e_fail "entry 1 lost its hover look when the pointer left"

# Over the background: the normal look, and no hint.
e2e_mouse "$wid" 300 300
e2e_mouse "$wid" 301 301
e2e_client_shot "$wid" "$E2E_OUT/wine-normal.png"
[ "$(yellow "$E2E_OUT/wine-normal.png")" -lt 5 ] || e2e_fail "entry 1 kept its hover look over the background"
for w in $(xdotool search --onlyvisible --class automenu.exe 2>/dev/null); do
    [ "$w" = "$wid" ] || e2e_fail "the hint stayed over the background"
done

wmctrl -c Installation
e2e_wait_exit 20 || e2e_fail "the program did not end"
echo ok
