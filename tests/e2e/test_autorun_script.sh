# A packed medium on a FAT stick: nothing on it is executable, and the
# desktop runs autorun.sh through /bin/sh with the medium's root as working
# directory. The script starts the Linux menu from a private copy and removes
# the copy when the menu ends; where no menu can start it opens the medium's
# folder instead.
tool=$AUTOMENU_BUILD_DIR/automenu-tool
medium=$E2E_WORK/medium
"$tool" pack "$AUTOMENU_SOURCE_DIR/examples/demo" "$medium" --no-windows >"$E2E_WORK/pack.out" 2>&1 ||
    e2e_fail "pack failed: $(cat "$E2E_WORK/pack.out")"
find "$medium" -type f -exec chmod a-x {} +
[ -z "$(find "$medium" -type f -perm /111)" ] || e2e_fail "a file stayed executable"

bin=$E2E_WORK/bin
mkdir -p "$bin" "$E2E_WORK/runtime"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$E2E_WORK" >"$bin/xdg-open"
chmod +x "$bin/xdg-open"

(cd "$medium" && PATH="$bin:$PATH" XDG_RUNTIME_DIR=$E2E_WORK/runtime exec sh autorun.sh \
    >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err") &
E2E_APP_PID=$!
E2E_PIDS+=("$E2E_APP_PID")
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window: $(cat "$E2E_WORK/app.err")"
read -r fl fr ft fb < <(e2e_frame "$wid")
read -r _ _ w h < <(e2e_geometry "$wid")
e2e_expect_eq "outer size" "640x480" "$((w + fl + fr))x$((h + ft + fb))"
# It shows the medium's own menu: the demo, as the tool draws it.
e2e_mouse "$wid" 300 420
e2e_client_shot "$wid" "$E2E_OUT/menu.png"
"$tool" render "$medium" -o "$E2E_OUT/render.png" >/dev/null || e2e_fail "render failed"
differing=$(e2e_differing 20% "$E2E_OUT/menu.png" "$E2E_OUT/render.png" menu)
[ "${differing%%.*}" -lt 1500 ] 2>/dev/null || e2e_fail "the window differs from the medium's menu in $differing pixels"
[ -n "$(ls "$E2E_WORK/runtime")" ] || e2e_fail "the menu did not run from a private copy"

wmctrl -i -c "$wid"
e2e_wait_exit 10 || e2e_fail "autorun.sh did not end with the menu"
e2e_expect_eq "autorun.sh status" 0 "$E2E_STATUS"
e2e_expect_eq "copies left" "" "$(ls "$E2E_WORK/runtime")"
[ ! -e "$E2E_WORK/opened" ] || e2e_fail "the folder was opened although the menu ran"

# A menu that cannot start (here: not a program of this computer), run from
# another folder: the medium's root is opened instead.
printf 'not a program\n' >"$medium/automenu"
(cd / && PATH="$bin:$PATH" XDG_RUNTIME_DIR=$E2E_WORK/runtime exec sh "$medium/autorun.sh" \
    >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err") &
E2E_APP_PID=$!
E2E_PIDS+=("$E2E_APP_PID")
e2e_wait_exit 10 || e2e_fail "autorun.sh hung with a menu that cannot start"
e2e_expect_eq "opened" "$medium" "$(cat "$E2E_WORK/opened" 2>/dev/null)"
e2e_expect_eq "copies left" "" "$(ls "$E2E_WORK/runtime")"
