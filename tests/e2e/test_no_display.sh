# Without a display the menu says so on standard error and exits with status
# 1 at once. Only X11 and Wayland are its displays: with neither variable set
# it never falls back to a driver that shows nothing (which would run unseen
# for ever), while a driver the user names is still the one tried.
folder=$E2E_WORK/menu
mkdir "$folder"
printf '[Installation Form Size Setup]\r\nForm Height=300\r\nForm Width=400\r\n' >"$folder/AUTORUN.INF"
# Each case: what it is, then the environment changes.
cases=(
    "no display variable at all|-u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER"
    "no display variable, the X11 driver named|-u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11"
    "no display variable, the Wayland driver named|-u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=wayland XDG_RUNTIME_DIR=$E2E_WORK"
    "an X server that is not there|-u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:4242"
    "a compositor that is not there|-u DISPLAY -u SDL_VIDEODRIVER WAYLAND_DISPLAY=nobody XDG_RUNTIME_DIR=$E2E_WORK"
)
for c in "${cases[@]}"; do
    what=${c%%|*}
    read -r -a changes <<<"${c#*|}"
    # Within a second: a second run would mean it waited for something.
    (cd "$folder" && exec env "${changes[@]}" timeout -s KILL 1 "$AUTOMENU_BIN" >"$E2E_WORK/out" 2>"$E2E_WORK/err")
    status=$?
    e2e_expect_eq "$what: exit status" 1 "$status"
    grep -q "^automenu: cannot open the display: " "$E2E_WORK/err" ||
        e2e_fail "$what: no message on standard error: $(cat "$E2E_WORK/err")"
done
echo ok
