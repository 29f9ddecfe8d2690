# Without a display the menu says so on standard error and exits with status 1.
folder=$E2E_WORK/menu
mkdir "$folder"
(cd "$folder" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$AUTOMENU_BIN" >"$E2E_WORK/out" 2>"$E2E_WORK/err")
status=$?
e2e_expect_eq "exit status" 1 "$status"
grep -q "cannot open the display" "$E2E_WORK/err" || e2e_fail "no message on standard error: $(cat "$E2E_WORK/err")"
echo ok
