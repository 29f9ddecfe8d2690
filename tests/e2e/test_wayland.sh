# The menu on a Wayland compositor with no X server for it: weston runs as a
# window of the test's X server, the menu sees only WAYLAND_DISPLAY. Pointer
# input from xdotool does not reach Wayland clients there, so this checks
# that the window appears with the configured size (480 x 360, so that it
# fits the output at scale 2 too; a Wayland client learns no frame, so the
# inner area takes the whole size) and shows what automenu-tool render draws,
# on an output of scale 1 and of scale 2. The menu takes the keyboard focus
# when it appears: keys sent to the compositor's window reach it, and Tab
# Tab Return opens entry 2 (a stub xdg-open logs it).
command -v weston >/dev/null || e2e_fail "weston is not installed"
tool=$AUTOMENU_BUILD_DIR/automenu-tool
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
sed -i -e 's/^Form Height=.*/Form Height=360\r/' -e 's/^Form Width=.*/Form Width=480\r/' "$demo/AUTORUN.INF"
runtime=$E2E_WORK/runtime
bin=$E2E_WORK/bin
mkdir -p "$bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$E2E_WORK" >"$bin/xdg-open"
chmod +x "$bin/xdg-open"

for scale in 1 2; do
    socket=automenu-e2e-$scale
    e2e_start_weston "$runtime" "$socket" --width=$((1280 / scale)) --height=$((1024 / scale)) --scale=$scale ||
        e2e_fail "weston did not start"
    weston_pid=$WESTON_PID
    # weston names its window in a way xdotool's name search does not see.
    output=""
    for _ in $(seq 200); do
        output=$(xdotool search --class weston 2>/dev/null | head -1)
        [ -n "$output" ] && break
        sleep 0.05
    done
    [ -n "$output" ] || e2e_fail "no weston window"

    "$tool" render "$demo" -o "$E2E_OUT/wayland-render-$scale.png" --scale $scale || e2e_fail "render failed"
    (cd "$demo" && exec env -u DISPLAY PATH="$bin:$PATH" XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=$socket "$AUTOMENU_BIN" \
        >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err") &
    E2E_APP_PID=$!
    E2E_PIDS+=("$E2E_APP_PID")

    # The window is drawn once its box on the black desktop has the size;
    # with libdecor's plugin installed a caption bar sits above the content.
    w=$((480 * scale)) h=$((360 * scale))
    box=""
    for _ in $(seq 40); do
        sleep 0.2
        import -window "$output" "$E2E_OUT/wayland-$scale.png" 2>/dev/null || continue
        # The box of what is not black, less weston's cursor: shrinking every
        # bright area by 12 pixels a side removes the cursor, then grow back.
        read -r bw bh bx by < <(convert "$E2E_OUT/wayland-$scale.png" -fuzz 1% -fill white +opaque black \
            -morphology Erode Rectangle:25x1 -morphology Erode Rectangle:1x25 -trim -format '%w %h %X %Y' info:)
        bw=$((bw + 24)) bh=$((bh + 24)) bx=$((${bx#+} - 12)) by=$((${by#+} - 12))
        box="${bw}x${bh}"
        [ "$bw" = "$w" ] && [ "$bh" -ge "$h" ] && [ "$bh" -le $((h + 40 * scale)) ] && break
    done
    e2e_expect_eq "window width at scale $scale (box $box)" "$w" "$bw"
    [ "$bh" -ge "$h" ] && [ "$bh" -le $((h + 40 * scale)) ] || e2e_fail "window box $box at scale $scale, want ${w}x$h"
    # The rendered inner area (the render allows for a frame, so it is a
    # little smaller) against the top-left part of the content.
    read -r rw rh < <(identify -format '%w %h' "$E2E_OUT/wayland-render-$scale.png")
    convert "$E2E_OUT/wayland-$scale.png" -crop "${rw}x${rh}+$bx+$((by + bh - h))" +repage \
        "$E2E_OUT/wayland-window-$scale.png"
    d=$(compare -metric AE -fuzz 20% "$E2E_OUT/wayland-window-$scale.png" "$E2E_OUT/wayland-render-$scale.png" null: 2>&1)
    [ "${d%%.*}" -lt $((300 * scale * scale)) ] 2>/dev/null || e2e_fail "window differs from the render in $d pixels at scale $scale"

    if [ "$scale" = 1 ]; then
        # The compositor's window has the X keyboard; nothing is clicked.
        xdotool windowfocus --sync "$output" 2>/dev/null
        xdotool key Tab Tab Return
        for _ in $(seq 60); do [ -s "$E2E_WORK/opened" ] && break; sleep 0.05; done
        e2e_expect_eq "Tab Tab Return on Wayland opens" "$demo/docs" "$(cat "$E2E_WORK/opened" 2>/dev/null)"
        kill "$E2E_APP_PID"
        e2e_wait_exit 10 || e2e_fail "the menu did not end"
        grep -q . "$E2E_WORK/app.err" && e2e_fail "the menu complained: $(cat "$E2E_WORK/app.err")"
        kill "$weston_pid"
        wait "$weston_pid" 2>/dev/null
    else
        # The compositor goes away under the menu: it ends, as it does when
        # the X server goes, instead of staying on with nothing to show.
        kill "$weston_pid"
        wait "$weston_pid" 2>/dev/null
        e2e_wait_exit 10 || e2e_fail "the menu outlived its compositor"
        e2e_expect_eq "exit status without a display" 1 "$E2E_STATUS"
        grep -q 'connection to the display' "$E2E_WORK/app.err" || e2e_fail "no message: $(cat "$E2E_WORK/app.err")"
    fi
done
echo ok
