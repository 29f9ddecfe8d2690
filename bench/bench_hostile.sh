#!/usr/bin/env bash
# Hostile files: writes the folders of bench/hostile/make-hostile.py, then
# times `automenu-tool render` and `automenu-tool check` on each and prints
# a table of wall time, peak memory and exit status.
# Usage: bench/bench_hostile.sh [BUILD_DIR] [LIMIT_SECONDS]
#
# With --wine, the Windows program instead: in a fresh X server (1280 x 1024)
# with openbox and a Wine server kept running, the menu built to end after its
# first painted frame (automenu_firstframe.exe) is started in each folder, and
# the time to that frame and the peak memory of its process are taken; a
# start-up error box is answered at once (the time then includes the box).
# Usage: bench/bench_hostile.sh --wine [WINDOWS_BUILD_DIR] [LIMIT_SECONDS]
set -uo pipefail
cd "$(dirname "$0")/.."
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "${1:-}" = --wine ]; then
    build=$(readlink -f "${2:-build-windows}")
    limit=${3:-60}
    exe=$build/bench/windows/automenu_firstframe.exe
    [ -f "$exe" ] || { echo "no $exe: build the Windows program first" >&2; exit 1; }
    python3 bench/hostile/make-hostile.py "$work/cases" >/dev/null
    export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
        set -uo pipefail
        . tests/e2e/lib.sh
        trap "e2e_cleanup; wineserver -k 2>/dev/null" EXIT
        e2e_start_wm || exit 1
        xdotool mousemove 0 0
        [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
        wineserver -p
        wine cmd /c exit >/dev/null 2>&1 || true
        exe=$1 limit=$2 work=$3
        echo "| case | first frame | peak | status |"
        echo "|---|---|---|---|"
        for dir in "$work"/cases/*/; do
            name=$(basename "$dir")
            (cd "$dir" && exec timeout -s KILL "$limit" /usr/bin/time -f "%e %M" -o "$work/time.txt" \
                /usr/lib/wine/wine64 "$exe" >/dev/null 2>&1) &
            pid=$!
            # A start-up error shows a box captioned with the program name: answer it.
            while kill -0 "$pid" 2>/dev/null; do
                box=$(wmctrl -l 2>/dev/null | awk "\$4 ~ /^automenu/ {print \$1; exit}")
                if [ -n "$box" ]; then wmctrl -i -a "$box"; xdotool key Return; fi
                sleep 0.1
            done
            wait "$pid"
            status=$?
            if [ "$status" -eq 137 ]; then
                echo "| $name | > $limit s | - | killed |"
                wineserver -k 2>/dev/null; wineserver -p
            else
                read -r seconds kb < <(tail -n 1 "$work/time.txt")
                printf "| %s | %s s | %d MB | %d |\n" "$name" "$seconds" $((kb / 1024)) "$status"
            fi
        done
    ' bash "$exe" "$limit" "$work"
    exit
fi

build=${1:-build}
limit=${2:-60}
tool=$(readlink -f "$build/automenu-tool")
[ -x "$tool" ] || { echo "no $tool: build first" >&2; exit 1; }
python3 bench/hostile/make-hostile.py "$work/cases" >/dev/null

# measure CASE COMMAND...: "seconds peak-MB status", or "> LIMIT" when cut off.
measure() {
    local out=$work/time.txt status
    timeout "$limit" /usr/bin/time -f '%e %M' -o "$out" "$@" >/dev/null 2>&1
    status=$?
    if [ "$status" -eq 124 ]; then echo "| > ${limit} s | - | killed"; return; fi
    # time writes a line about a non-zero status first: the figures are last.
    read -r seconds kb < <(tail -n 1 "$out")
    printf '| %s s | %d MB | %d' "$seconds" $((kb / 1024)) "$status"
}

echo "| case | render | peak | status | check | peak | status |"
echo "|---|---|---|---|---|---|---|"
for dir in "$work"/cases/*/; do
    name=$(basename "$dir")
    render=$(measure "$tool" render "$dir" -o "$work/out.png")
    check=$(measure "$tool" check "$dir")
    echo "| $name $render $check |"
done
