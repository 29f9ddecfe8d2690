#!/usr/bin/env bash
# Start-up benchmark of the Windows program under Wine: in a fresh X server
# (1280 x 1024) with openbox and a running Wine server, times each program
# from its start to its exit right after its first painted frame, the menu
# (the demo menu's folder) and a bare Win32 window of the same size taking
# turns, and prints the medians and the menu's ratio.
# Usage: bench/bench_startup_wine.sh [WINDOWS_BUILD_DIR] [REPETITIONS]
# WINE names the loader (default: wine; with wine32 installed, `wine` starts
# every program through the 32-bit loader, /usr/lib/wine/wine64 does not).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(readlink -f "${1:-build-windows}")
reps=${2:-20}
for exe in automenu_firstframe minimal_win32_window; do
    [ -f "$build/bench/windows/$exe.exe" ] || { echo "no $exe.exe in $build: build the Windows program first" >&2; exit 1; }
done
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
    set -euo pipefail
    . tests/e2e/lib.sh
    trap "e2e_cleanup; wineserver -k 2>/dev/null" EXIT
    e2e_start_wm
    # The pointer rests in a corner, outside both windows: under Wine a window
    # that appears under the pointer gets a mouse move before its first paint,
    # and the menu answers that with a mouse-move pass (45 lookups of
    # AUTORUN.INF) that is not start-up. POINTER=centre leaves it where the
    # X server put it.
    [ "${POINTER:-corner}" = centre ] || xdotool mousemove 0 0
    [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
    # Keep the Wine server and its services up between runs, as Windows keeps
    # its session: what is timed is the program, not Wine starting.
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 || true
    cd examples/demo
    time_ms() { local s e; s=$(date +%s%N); "${WINE:-wine}" "$1" >/dev/null 2>&1 || true; e=$(date +%s%N); echo $(((e - s) / 1000)); }
    for _ in $(seq "$2"); do
        echo "menu $(time_ms "$1/bench/windows/automenu_firstframe.exe")"
        echo "minimal $(time_ms "$1/bench/windows/minimal_win32_window.exe")"
    done
' bash "$build" "$reps" | awk '
    { t[$1] = t[$1] " " $2 }
    function median(list,   a, n, i, j, x) {
        n = split(list, a, " ")
        for (i = 2; i <= n; i++) { x = a[i]; for (j = i - 1; j >= 1 && a[j] > x; j--) a[j + 1] = a[j]; a[j + 1] = x }
        return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    END {
        m = median(t["menu"]) / 1000; b = median(t["minimal"]) / 1000
        printf "bare Win32 window: median %6.1f ms\n", b
        printf "automenu.exe:      median %6.1f ms\n", m
        printf "ratio (median): %.2f\n", m / b
    }'
