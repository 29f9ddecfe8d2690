#!/usr/bin/env bash
# Hostile files: writes the folders of bench/hostile/make-hostile.py, then
# times `automenu-tool render` and `automenu-tool check` on each and prints
# a table of wall time, peak memory and exit status.
# Usage: bench/bench_hostile.sh [BUILD_DIR] [LIMIT_SECONDS]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
limit=${2:-60}
tool=$(readlink -f "$build/automenu-tool")
[ -x "$tool" ] || { echo "no $tool: build first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
