#!/usr/bin/env bash
# automenu-tool pack makes a medium folder and its ISO image: the author's
# files unchanged but for an [autorun] section added byte-exactly where there
# is none, both menus and autorun.sh with the modes a medium needs, the menus
# found where an installed or built tool has them, and clear refusals.
# Usage: test_tool_pack.sh TOOL SOURCE_DIR
set -uo pipefail
tool=$1
source_dir=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
linux_menu=$(dirname "$tool")/automenu
printf 'MZ stands in for the Windows menu\n' >"$dir/automenu.exe"
exe=$dir/automenu.exe

# modes DIR: "MODE PATH" of everything in DIR, sorted.
modes() { (cd "$1" && find . -printf '%m %p\n' | sort -k2); }

# The template: its [autorun] section is kept as it is.
"$tool" template "$dir/tpl" >/dev/null
long="Read me before installing Example Product.txt"
printf 'notes\n' >"$dir/tpl/$long"
"$tool" pack "$dir/tpl" "$dir/tpl-out" --windows-menu "$exe" --iso "$dir/tpl.iso" >"$dir/log" 2>&1 ||
    fail "pack of the template: $(cat "$dir/log")"
expected="755 .
644 ./AUTORUN.INF
644 ./BACK.BMP
644 ./LICENSE.TXT
644 ./LOGO.ICO
644 ./README.TXT
644 ./$long
755 ./automenu
644 ./automenu.exe
755 ./autorun.sh"
[ "$(modes "$dir/tpl-out")" = "$expected" ] || fail "template medium: expected
$expected
got
$(modes "$dir/tpl-out")"
for f in AUTORUN.INF BACK.BMP LOGO.ICO "$long"; do
    cmp -s "$dir/tpl/$f" "$dir/tpl-out/$f" || fail "template medium: $f changed"
done
cmp -s "$exe" "$dir/tpl-out/automenu.exe" || fail "the Windows menu given is not the one on the medium"
cmp -s "$linux_menu" "$dir/tpl-out/automenu" || fail "the Linux menu beside the tool is not the one on the medium"
head -1 "$dir/tpl-out/autorun.sh" | grep -qx '#!/bin/sh' || fail "autorun.sh is not a sh script"

# The image: Rock Ridge modes, Joliet names, the label from [autorun].
if command -v xorriso >/dev/null; then
    rr=$(xorriso -indev "$dir/tpl.iso" -find / -exec lsdl -- 2>/dev/null | awk '{print $1, $NF}')
    for want in "-r-xr-xr-x '/automenu'" "-r-xr-xr-x '/autorun.sh'" "-r--r--r-- '/AUTORUN.INF'" \
        "-r--r--r-- '/automenu.exe'"; do
        grep -qxF -- "$want" <<<"$rr" || fail "Rock Ridge listing lacks \"$want\": $rr"
    done
    joliet=$(xorriso -read_fs norock -indev "$dir/tpl.iso" -ls / 2>/dev/null)
    for want in "'$long'" "'AUTORUN.INF'" "'automenu.exe'"; do
        grep -qxF -- "$want" <<<"$joliet" || fail "Joliet listing lacks $want: $joliet"
    done
    label=$(xorriso -indev "$dir/tpl.iso" -pvd_info 2>/dev/null | sed -n 's/^Volume Id *: //p')
    [ "$label" = "EXAMPLE_PRODUCT_1_0" ] || fail "volume label: got '$label'"
    "$tool" pack "$dir/tpl" "$dir/tpl-out2" --no-windows --iso "$dir/tpl2.iso" --volume-label "My Disc" >/dev/null 2>&1
    label=$(xorriso -indev "$dir/tpl2.iso" -pvd_info 2>/dev/null | sed -n 's/^Volume Id *: //p')
    [ "$label" = "My Disc" ] || fail "--volume-label: got '$label'"
else
    fail "xorriso is not installed"
fi

# The demo: CR LF lines and no [autorun]; the section is appended after a
# blank line, the rest of the file byte for byte as it was.
"$tool" pack "$source_dir/examples/demo" "$dir/demo-out" --windows-menu "$exe" >"$dir/log" 2>&1 ||
    fail "pack of the demo: $(cat "$dir/log")"
{ cat "$source_dir/examples/demo/AUTORUN.INF"; printf '\r\n[autorun]\r\nopen=automenu.exe\r\nlabel=Example Suite 2.0\r\n'; } |
    cmp -s - "$dir/demo-out/AUTORUN.INF" || fail "demo: the [autorun] section was not appended exactly"
[ "$(stat -c %a "$dir/demo-out/check-computer.sh")" = 755 ] || fail "demo: the author's script lost its execute permission"
cmp -s "$source_dir/examples/demo/docs/user-guide.txt" "$dir/demo-out/docs/user-guide.txt" || fail "demo: docs/ not copied"

# An installed tool: the Linux menu beside it, the Windows one in share/.
mkdir -p "$dir/usr/bin" "$dir/usr/share/automenu"
cp "$tool" "$linux_menu" "$dir/usr/bin/"
cp "$exe" "$dir/usr/share/automenu/"
"$dir/usr/bin/automenu-tool" pack "$dir/tpl" "$dir/installed-out" >"$dir/log" 2>&1 || fail "installed tool: $(cat "$dir/log")"
cmp -s "$exe" "$dir/installed-out/automenu.exe" || fail "installed tool: share/automenu/automenu.exe not taken"

# The author's own autorun.sh stays; an old automenu.exe gives way.
cp -r "$dir/tpl" "$dir/own"
printf '#!/bin/sh\necho mine\n' >"$dir/own/autorun.sh"
printf 'MZ old\n' >"$dir/own/AutoMenu.EXE"
"$tool" pack "$dir/own" "$dir/own-out" --windows-menu "$exe" >/dev/null 2>&1 || fail "pack with own files"
grep -q mine "$dir/own-out/autorun.sh" || fail "the author's autorun.sh was replaced"
[ ! -e "$dir/own-out/AutoMenu.EXE" ] || fail "the author's old AutoMenu.EXE is still there beside automenu.exe"

# Refusals: STATUS, a piece of the message, and nothing written.
mkdir -p "$dir/alone" "$dir/full" "$dir/bad"
cp "$tool" "$dir/alone/"
: >"$dir/full/something"
printf '[Installation Form Size Setup]\r\nForm Width=wide\r\nForm Height=300\r\n' >"$dir/bad/AUTORUN.INF"
refusals=(
    "1|the Windows menu automenu.exe is not where the tool looks|$dir/alone/automenu-tool pack $dir/tpl $dir/r1"
    "1|the Linux menu automenu is not where the tool looks|$dir/alone/automenu-tool pack $dir/tpl $dir/r1 --windows-menu $exe"
    "1|not a Windows program|$tool pack $dir/tpl $dir/r1 --windows-menu $dir/tpl/README.TXT"
    "1|exists and is not an empty folder|$tool pack $dir/tpl $dir/full --windows-menu $exe"
    "1|cannot be made inside|$tool pack $dir/tpl $dir/tpl/medium --windows-menu $exe"
    "1|check found errors|$tool pack $dir/bad $dir/r1 --windows-menu $exe"
    "1|leave no menu|$tool pack $dir/tpl $dir/r1 --no-windows --no-linux"
    "1|volume label|$tool pack $dir/tpl $dir/r1 --no-windows --iso $dir/r1.iso --volume-label a/b"
    "2|usage|$tool pack $dir/tpl"
)
for case in "${refusals[@]}"; do
    IFS='|' read -r want_status want_text command <<<"$case"
    out=$($command 2>&1)
    status=$?
    [ "$status" = "$want_status" ] && grep -qF "$want_text" <<<"$out" ||
        fail "$command: expected status $want_status and '$want_text', got $status: $out"
    rm -rf "$dir/r1" "$dir/tpl/medium"
done
[ -z "$(ls "$dir/full" | grep -v something)" ] || fail "a refused pack wrote into $dir/full"

# Errors may be packed on purpose; a missing xorriso is named.
"$tool" pack "$dir/bad" "$dir/r2" --windows-menu "$exe" --ignore-errors >/dev/null 2>&1 || fail "--ignore-errors did not go on"
out=$(PATH=/nonexistent "$tool" pack "$dir/tpl" "$dir/r3" --windows-menu "$exe" --iso "$dir/r3.iso" 2>&1)
[ $? = 1 ] && grep -qF "cannot run xorriso" <<<"$out" || fail "without xorriso: $out"

[ "$failures" -eq 0 ] && echo "pack: all cases passed"
[ "$failures" -eq 0 ]
