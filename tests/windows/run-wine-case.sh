#!/usr/bin/env bash
# Runs one end-to-end case of the Windows program under Wine, in its own X
# server (1280 x 1024) with openbox. Usage: run-wine-case.sh BUILD_DIR CASE.sh
# WINEPREFIX must name a prefix made beforehand (wineboot).
set -uo pipefail
build=$(readlink -f "$1")
case_file=$(readlink -f "$2")
here=$(dirname "$(readlink -f "$0")")
export WINEDEBUG=-all
export AUTOMENU_WINDOWS_BUILD=$build
export AUTOMENU_SOURCE_DIR=$(readlink -f "$here/../..")
# The menu is started through Wine; its exit status is the program's.
wrapper=$(mktemp)
printf '#!/bin/sh\nexec wine "%s/automenu.exe"\n' "$build" >"$wrapper"
chmod +x "$wrapper"
export AUTOMENU_BIN=$wrapper
# The prefix gets the colours of a current Windows once, so the window's face
# and the error box compare with the Linux program's.
if [ ! -f "$WINEPREFIX/automenu-colors.done" ]; then
    wine regedit /S "$(winepath -w "$here/windows-colors.reg" 2>/dev/null)" && wineserver -w &&
        touch "$WINEPREFIX/automenu-colors.done"
fi
# One server for the whole case: a program started while the last one's
# server is shutting down can wait for it without end.
wineserver -p 2>/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
    . "$0/../e2e/lib.sh"
    trap e2e_cleanup EXIT
    e2e_start_wm || exit 1
    . "$1"
' "$here" "$case_file"
rc=$?
rm -f "$wrapper"
# Wine keeps its server for a few seconds after the last program: end it so
# the next case starts clean.
wineserver -k 2>/dev/null
exit $rc
