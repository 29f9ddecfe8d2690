#!/usr/bin/env bash
# Runs one end-to-end case in its own X server (1280 x 1024) with openbox.
# Usage: run-case.sh CASE.sh
set -uo pipefail
case_file=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
    . "$0/lib.sh"
    trap e2e_cleanup EXIT
    e2e_start_wm || exit 1
    . "$1"
' "$here" "$case_file"
