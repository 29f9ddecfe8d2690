#!/usr/bin/env bash
# Runs one fuzzer for FUZZ_SECONDS seconds (default 20) from its corpus in
# fuzz/corpus/ and, for the picture fuzzers, the test pictures of their kinds.
# Usage: run-fuzzer.sh FUZZER
set -uo pipefail
fuzzer=$1
name=$(basename "$fuzzer")
here=$(dirname "$(readlink -f "$0")")
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
declare -A kinds=([fuzz_bmp]="bmp" [fuzz_ico]="ico" [fuzz_metafile]="emf wmf" [fuzz_png]="png" [fuzz_jpeg]="jpg")
[ -d "$here/corpus/$name" ] && cp -r "$here/corpus/$name/." "$corpus/"
for kind in ${kinds[$name]:-}; do cp "$here"/../tests/data/pictures/*."$kind" "$corpus/"; done
"$fuzzer" -max_total_time="${FUZZ_SECONDS:-20}" -rss_limit_mb=2048 -timeout=10 "$corpus" 2>&1 || exit 1
echo "$name: ok ($(ls "$corpus" | wc -l) corpus entries)"
