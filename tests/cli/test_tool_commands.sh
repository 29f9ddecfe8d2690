#!/usr/bin/env bash
# automenu-tool's commands as a shell sees them: exit statuses, --help on
# every command, check's summary line, render's output and failure message.
# Usage: test_tool_commands.sh TOOL
set -uo pipefail
tool=$1
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
. "$(dirname "$0")/../checks.sh"

# expect_status NAME STATUS COMMAND...
expect_status() {
    local name=$1 want=$2; shift 2
    "$@" >"$dir/out" 2>"$dir/err"
    local got=$?
    [ "$got" = "$want" ] || fail "$name: status $got, expected $want ($(head -c 300 "$dir/err"))"
}

# Every option the manual page's synopsis gives a command is in that
# command's --help and in the top-level usage.
expect_status "--help" 0 "$tool" --help
cp "$dir/out" "$dir/usage"
for c in check render get keys template pack; do
    expect_status "$c --help" 0 "$tool" "$c" --help
    grep -q "^usage: automenu-tool $c" "$dir/out" || fail "$c --help prints no usage line"
    options=$(awk -v c="$c" '/^\.SH/ { on = $2 == "SYNOPSIS" } on && $0 == ".B automenu-tool " c { take = 1; next }
        take && /^\.br/ { take = 0 } take' "$here/../doc/automenu-tool.1" | grep -o '\\-\\-[a-z]*\(\\-[a-z]*\)*' | sed 's/\\//g')
    for o in $options; do
        grep -q -- "$o" "$dir/out" || fail "$c --help leaves out $o"
        grep -q -- "$o" "$dir/usage" || fail "the usage leaves out $c $o"
    done
done
expect_status "--version" 0 "$tool" --version
grep -qx "automenu-tool [0-9][0-9.]*" "$dir/out" || fail "--version: $(cat "$dir/out")"

# The menu answers --help and --version without a display; it opens none.
menu=$(dirname "$tool")/automenu
for a in --help --version; do
    expect_status "automenu $a" 0 env -u DISPLAY -u WAYLAND_DISPLAY "$menu" "$a"
    grep -q "^usage: automenu\|^automenu [0-9]" "$dir/out" || fail "automenu $a printed: $(cat "$dir/out" "$dir/err")"
done
grep -qx "automenu $("$tool" --version | sed 's/^automenu-tool //')" "$dir/out" ||
    fail "the two programs give different versions: $(cat "$dir/out")"
expect_status "automenu with another argument still needs a display" 1 env -u DISPLAY -u WAYLAND_DISPLAY "$menu" --frobnicate
expect_status "no command" 2 "$tool"
expect_status "unknown command" 2 "$tool" frobnicate
expect_status "render without -o" 2 "$tool" render "$dir"

expect_status "template into a directory" 0 "$tool" template "$dir/menu"
expect_status "template keeps an existing file" 1 "$tool" template "$dir/menu"
expect_status "clean check" 0 "$tool" check "$dir/menu"
[ "$(tail -1 "$dir/out")" = "0 errors, 0 warnings" ] || fail "clean check summary: $(tail -1 "$dir/out")"

expect_status "template --encoding utf-16" 0 "$tool" template "$dir/menu16" --encoding utf-16
[ "$(head -c 2 "$dir/menu16/AUTORUN.INF" | od -An -tx1 | tr -d ' ')" = "fffe" ] || fail "no UTF-16 LE mark"
expect_status "check of the UTF-16 template" 0 "$tool" check "$dir/menu16"
grep -q "note: encoding: UTF-16 LE" "$dir/out" || fail "check names no encoding: $(head -3 "$dir/out")"
expect_status "template --encoding=utf-8 to standard output" 0 "$tool" template --encoding=utf-8
grep -q "Saved as UTF-8" "$dir/out" || fail "the UTF-8 template does not say so"
expect_status "template --encoding of no encoding" 2 "$tool" template "$dir/menu-x" --encoding latin1

expect_status "check with an error" 1 "$tool" check "$here/data/check/integer_not_a_number"
grep -q "^$here/data/check/integer_not_a_number/AUTORUN.INF:2: error: " "$dir/out" || fail "error line: $(cat "$dir/out")"
expect_status "check --format json" 1 "$tool" check "$here/data/check/integer_not_a_number" --format json
grep -q '"errors": 1,' "$dir/out" || fail "json error count: $(cat "$dir/out")"
expect_status "check of a folder without AUTORUN.INF" 1 "$tool" check "$dir"

expect_status "render" 0 "$tool" render "$dir/menu" -o "$dir/menu.png" --hover entry:3
[ "$(head -c 4 "$dir/menu.png" | tail -c 3)" = "PNG" ] || fail "render wrote no PNG"
expect_status "render of a menu that stops at start-up" 1 "$tool" render "$here/data/check/integer_not_a_number" -o "$dir/x.png"
grep -q "'480px' is not a valid integer value." "$dir/err" || fail "render failure message: $(cat "$dir/err")"
[ ! -e "$dir/x.png" ] || fail "render wrote a picture of a menu that does not start"
expect_status "render --hover of a hidden entry" 1 "$tool" render "$dir/menu" -o "$dir/y.png" --hover entry:7
expect_status "render --error-box" 0 "$tool" render "$here/data/check/integer_not_a_number" -o "$dir/box.png" --error-box
[ "$(head -c 4 "$dir/box.png" | tail -c 3)" = "PNG" ] || fail "render --error-box wrote no PNG"
expect_status "render --error-box of a menu without errors" 1 "$tool" render "$dir/menu" -o "$dir/z.png" --error-box
grep -q "shows no error box" "$dir/err" || fail "render --error-box message: $(cat "$dir/err")"

checks_done
