# The Wayland compositor goes away while the menu is starting (connecting,
# making its window, waiting for it to be shown, drawing it): whenever that
# happens, the menu ends with status 1 and a message, never keeps running
# with nothing to show, and never reports success.
command -v weston >/dev/null || e2e_fail "weston is not installed"
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
runtime=$E2E_WORK/runtime
try=0
for delay in 0 0.01 0.02 0.03 0.05 0.07 0.1 0.15 0.2 0.3 0.5 1 2; do
    try=$((try + 1))
    socket=automenu-goes-$try
    e2e_start_weston "$runtime" "$socket" --width=640 --height=480 || e2e_fail "weston did not start"
    sleep 0.3  # settled, as a desktop's compositor is
    (cd "$demo" && exec env -u DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=$socket \
        timeout -s KILL 20 "$AUTOMENU_BIN" >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err") &
    E2E_APP_PID=$!
    E2E_PIDS+=("$E2E_APP_PID")
    sleep "$delay"
    kill -9 "$WESTON_PID"
    wait "$WESTON_PID" 2>/dev/null
    e2e_wait_exit 20 || e2e_fail "killed after ${delay} s: the menu did not end"
    e2e_expect_eq "killed after ${delay} s: exit status (137: still running after 20 s)" 1 "$E2E_STATUS"
    grep -qE "^automenu: (cannot open the display|the connection to the display was lost)" "$E2E_WORK/app.err" &&
        [ "$(wc -l <"$E2E_WORK/app.err")" = 1 ] ||
        e2e_fail "killed after ${delay} s: not one message: $(cat "$E2E_WORK/app.err")"
done
echo ok
