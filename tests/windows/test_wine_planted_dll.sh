# A DLL named like a system DLL beside the menu, on the medium, is never
# loaded: the background picture is an icon with a PNG image, which the menu
# decodes with the system's imaging component (windowscodecs.dll).
medium=$E2E_WORK/medium
mkdir -p "$medium"
cp "$AUTOMENU_WINDOWS_BUILD/automenu.exe" "$medium/"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/windowscodecs.dll" "$medium/"
cp "$AUTOMENU_SOURCE_DIR/tests/data/pictures/pil_png.ico" "$medium/BACK.ICO"
sed 's/^BackGround Image Name=.*/BackGround Image Name=BACK.ICO\r/' \
    "$AUTOMENU_SOURCE_DIR/examples/demo/AUTORUN.INF" >"$medium/AUTORUN.INF"
export AUTOMENU_PLANTED_MARK='Z:'"$E2E_WORK/planted.mark"
# Wine prefers its own built-in DLL for a system DLL's name wherever a file
# of that name lies; Windows takes the first file its search finds. This
# makes Wine take files as Windows does.
export WINEDLLOVERRIDES=windowscodecs=n,b
AUTOMENU_BIN=$E2E_WORK/run-from-medium
printf '#!/bin/sh\nexec wine "%s/automenu.exe"\n' "$medium" >"$AUTOMENU_BIN"
chmod +x "$AUTOMENU_BIN"
e2e_start "$medium"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no menu window"
sleep 2  # the first paint decodes the picture
[ ! -e "$E2E_WORK/planted.mark" ] || e2e_fail "the DLL beside the menu was loaded"
wmctrl -i -c "$wid"
e2e_wait_exit 20 || e2e_fail "closing the window did not end the program"
echo ok
