#!/usr/bin/env bash
# Start-up benchmark: runs bench_startup in a fresh X server (1280 x 1024),
# first without a window manager, then with openbox, and prints the mean and
# median exec-to-first-frame times of the menu and of the minimal SDL2 window,
# and the menu's ratio to it.
# Usage: bench/bench_startup.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
reps=${2:-40}
bench=$(readlink -f "$build/bench/bench_startup")
[ -x "$bench" ] || { echo "no $bench: build first (cmake --build $build --target bench_startup)" >&2; exit 1; }

for wm in none openbox; do
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
        set -euo pipefail
        if [ "$1" = openbox ]; then
            . tests/e2e/lib.sh
            trap e2e_cleanup EXIT
            e2e_start_wm
        fi
        # The pointer rests in a corner, outside every window, so no program
        # gets a mouse move before its first frame (the menu would answer it
        # with a mouse-move pass, which is not start-up). POINTER=centre
        # leaves it where the X server put it.
        [ "${POINTER:-corner}" = centre ] || xdotool mousemove 0 0
        "$2" --benchmark_repetitions="$3" --benchmark_enable_random_interleaving=true \
            --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null
    ' bash "$wm" "$bench" "$reps" |
        awk -F, -v wm="$wm" '
            /^"BM_Startup/ {
                name = $1; gsub(/"/, "", name)
                prog = name ~ /Automenu/ ? "menu" : "minimal"
                if (name ~ /_mean$/) mean[prog] = $3
                if (name ~ /_median$/) median[prog] = $3
            }
            /error_occurred/ { next }
            END {
                if (!(("menu" in median) && ("minimal" in median))) { print "window manager " wm ": no result" > "/dev/stderr"; exit 1 }
                printf "window manager %-8s minimal SDL2 window: mean %6.1f ms, median %6.1f ms\n", wm, mean["minimal"], median["minimal"]
                printf "window manager %-8s automenu:            mean %6.1f ms, median %6.1f ms\n", wm, mean["menu"], median["menu"]
                printf "window manager %-8s ratio (median): %.2f, (mean): %.2f\n", wm, median["menu"] / median["minimal"], mean["menu"] / mean["minimal"]
            }'
done
