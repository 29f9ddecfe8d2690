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
