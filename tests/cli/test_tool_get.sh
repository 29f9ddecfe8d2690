#!/usr/bin/env bash
# automenu-tool get prints what the menu's lookup gives, one line per call,
# and exits 0 whether or not the key or the file exists.
# Usage: test_tool_get.sh TOOL
set -uo pipefail
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '[Installation Form Setup]\r\nForm Caption = "Setup menu" \r\nEmpty Key=\r\nForm Width=640\r\n' >"$dir/AUTORUN.INF"

. "$(dirname "$0")/../checks.sh"
# check NAME EXPECTED-OUTPUT ARGS...: the output (newline included) and status 0
check() {
    local name=$1 want=$2; shift 2
    local got status
    got=$("$tool" get "$@"; echo "status=$?")
    if [ "$got" != "$want"$'\n'"status=0" ]; then
        fail "$name: expected '$want' and status 0, got:"
        printf '%s\n' "$got" | sed 's/^/    /'
    fi
}

check "quoted value loses its quotes" "Setup menu" "$dir/AUTORUN.INF" "Installation Form Setup" "Form Caption"
check "key names ignore case" "640" "$dir/AUTORUN.INF" "installation form setup" "FORM WIDTH"
check "missing key gives 0" "0" "$dir/AUTORUN.INF" "Installation Form Setup" "Form Height"
check "missing section gives 0" "0" "$dir/AUTORUN.INF" "No Such Section" "Form Width"
check "empty value gives an empty line" "" "$dir/AUTORUN.INF" "Installation Form Setup" "Empty Key"
check "missing file gives 0" "0" "$dir/missing.inf" "Installation Form Setup" "Form Width"

# An empty value is one empty line, not nothing at all.
bytes=$("$tool" get "$dir/AUTORUN.INF" "Installation Form Setup" "Empty Key" | od -An -c | tr -d ' ')
[ "$bytes" = '\n' ] || fail "empty value printed '$bytes', expected a lone newline"

# Wrong use is a usage error, not a lookup.
"$tool" get "$dir/AUTORUN.INF" "Installation Form Setup" >/dev/null 2>&1
[ $? -ne 0 ] || fail "get with two arguments exited 0"

checks_done
