#!/usr/bin/env bash
# Error box benchmark: the time from starting the menu in a folder whose
# AUTORUN.INF has a bad value to its error box being on the screen (listed
# by the window manager), in a fresh X server (1280 x 1024) with openbox, and
# of that the part after the message reached standard error (which the menu
# writes right before it shows the box). Prints the medians of REPETITIONS runs.
# Usage: bench/bench_error_box.sh [PROGRAM] [REPETITIONS]
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(readlink -f "${1:-build/automenu}")
reps=${2:-20}
[ -x "$program" ] || { echo "no $program: build first" >&2; exit 1; }

xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
    set -uo pipefail
    . tests/e2e/lib.sh
    trap e2e_cleanup EXIT
    e2e_start_wm || exit 1
    folder=$E2E_WORK/menu
    mkdir "$folder"
    printf "[Installation Form Size Setup]\r\nForm Height=abc\r\n" >"$folder/AUTORUN.INF"
    # The box is captioned with the program file name as title: a copy named automenu.
    cp "$1" "$E2E_WORK/automenu"
    for _ in $(seq "$2"); do
        rm -f "$E2E_WORK/message"
        start=$(date +%s%N)
        (cd "$folder" && exec setsid "$E2E_WORK/automenu" 2> >(read -r _; date +%s%N >"$E2E_WORK/message") >/dev/null) &
        pid=$!
        until wmctrl -l 2>/dev/null | grep -q " Automenu$"; do sleep 0.002; done
        shown=$(date +%s%N)
        until [ -s "$E2E_WORK/message" ]; do sleep 0.002; done
        echo $(( (shown - start) / 1000 )) $(( (shown - $(cat "$E2E_WORK/message")) / 1000 ))
        # The whole process group: a box in a child process goes too.
        kill -9 -- "-$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        while wmctrl -l 2>/dev/null | grep -q " Automenu$"; do sleep 0.01; done
        sleep 0.2
    done
' bash "$program" "$reps" | awk '
    function median(v, n,    i, j, t) {
        for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
        return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
    }
    { total[NR] = $1 / 1000; after[NR] = $2 / 1000 }
    END {
        if (NR == 0) { print "no result" > "/dev/stderr"; exit 1 }
        printf "error box on screen after %.1f ms (median of %d), %.1f ms of it after the message\n", median(total, NR), NR, median(after, NR)
    }'
