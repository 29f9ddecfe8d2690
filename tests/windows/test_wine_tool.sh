# automenu-tool.exe under Wine: check, get, keys, template and render give
# what the Linux tool gives, on Windows paths (drive letters, backslashes,
# names outside the ANSI code page).
# The Linux tool to compare with: AUTOMENU_LINUX_TOOL, else build/automenu-tool
# of the source tree (test.sh builds it first).
tool=$AUTOMENU_WINDOWS_BUILD/automenu-tool.exe
linux_tool=${AUTOMENU_LINUX_TOOL:-$AUTOMENU_SOURCE_DIR/build/automenu-tool}
[ -x "$linux_tool" ] || e2e_fail "no Linux automenu-tool to compare with at $linux_tool"
cases=$AUTOMENU_SOURCE_DIR/tests/data/check
failures=()
win() { wine "$tool" "$@" 2>"$E2E_WORK/win.err"; }

# What may differ between the systems, each a sed expression on both outputs:
#  - the folder's path, in either system's spelling;
#  - the face drawn for a missing font, and a label's extent in pixels: each
#    system draws with its own fonts;
#  - a picture folder written without a separator ("Now"): the Windows menu
#    joins it to the name as it is, the Linux one with "/".
normalize() {  # normalize CASE_DIR
    local dir=$1 windows_dir
    windows_dir=$(winepath -w "$dir" 2>/dev/null | sed 's/\\/\\\\\\\\/g')
    sed -e '/"file": /d' \
        -e "s|$windows_dir\\\\\\\\|DIR/|g" -e "s|$dir/|DIR/|g" \
        -e 's|"font \\"\([^\\]*\)\\" is not installed here: it is drawn with \\"[^\\]*\\"|"font \\"\1\\" is not installed here: it is drawn with \\"FACE\\"|' \
        -e 's|at ([0-9]*,[0-9]*)-([0-9]*,[0-9]*)|at (X,Y)-(X,Y)|g' \
        -e 's|open file Now/|open file Now|'
}

for dir in "$cases"/*/; do
    dir=${dir%/}
    name=$(basename "$dir")
    expected=$("$linux_tool" check "$dir" --format json 2>/dev/null | normalize "$dir")
    expected_status=${PIPESTATUS[0]}
    actual=$(win check "$(winepath -w "$dir")" --format json | normalize "$dir")
    actual_status=${PIPESTATUS[0]}
    [ "$expected" = "$actual" ] ||
        failures+=("check $name:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))")
    [ "$expected_status" = "$actual_status" ] ||
        failures+=("check $name: status $actual_status, the Linux tool's $expected_status")
done

# The text format, a folder given with "/" and relative to the current one.
(cd "$cases" && wine "$tool" check clean >"$E2E_WORK/text" 2>/dev/null)
tail -n 1 "$E2E_WORK/text" | grep -qx "0 errors, 0 warnings" ||
    failures+=("check clean (text): $(cat "$E2E_WORK/text")")

[ "$(win keys)" = "$("$linux_tool" keys)" ] || failures+=("keys differs from the Linux tool's")
for key in "Form Setup|Form Caption" "Installation Message Label 1|Installation Message Label 1 Caption" \
           "No Such|Key"; do
    IFS='|' read -r section k <<<"$key"
    expected=$("$linux_tool" get "$cases/clean/AUTORUN.INF" "$section" "$k")
    actual=$(win get "$(winepath -w "$cases/clean/AUTORUN.INF")" "$section" "$k")
    [ "$expected" = "$actual" ] || failures+=("get [$section] $k: '$actual', the Linux tool's '$expected'")
done

# template into a folder whose name Windows holds in UTF-16 only; check finds
# nothing there, on either system.
folder="$E2E_WORK/Média 目录"
for encoding in ansi utf-16 utf-8; do
    rm -rf "$folder"
    # Written byte for byte, as on Linux: no line end is made "\r\n".
    win template --encoding $encoding >"$E2E_WORK/windows.ini"
    "$linux_tool" template --encoding $encoding >"$E2E_WORK/linux.ini"
    cmp -s "$E2E_WORK/windows.ini" "$E2E_WORK/linux.ini" ||
        failures+=("template --encoding $encoding differs from the Linux tool's")
    win template "$(winepath -w "$folder")" --encoding $encoding >/dev/null ||
        failures+=("template $encoding into a folder: $(cat "$E2E_WORK/win.err")")
    summary=$(win check "$(winepath -w "$folder")" | tail -n 1)
    [ "$summary" = "0 errors, 0 warnings" ] || failures+=("check after template $encoding: $summary")
    summary=$("$linux_tool" check "$folder" | tail -n 1)
    [ "$summary" = "0 errors, 0 warnings" ] ||
        failures+=("the Linux tool's check after the Windows template $encoding: $summary")
done

# render: the window's inner area as a PNG the size the Linux tool draws.
png_size() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(d[:8]==b"\x89PNG\r\n\x1a\n" and "%dx%d" % struct.unpack(">II", d[16:24]))' "$1"; }
"$linux_tool" render "$cases/clean" -o "$E2E_WORK/linux.png" || failures+=("the Linux tool's render failed")
win render "$(winepath -w "$cases/clean")" -o "$(winepath -w "$folder")\\shot.png" >/dev/null ||
    failures+=("render: $(cat "$E2E_WORK/win.err")")
[ "$(png_size "$folder/shot.png" 2>/dev/null)" = "$(png_size "$E2E_WORK/linux.png")" ] ||
    failures+=("render: $(png_size "$folder/shot.png" 2>&1), the Linux tool's $(png_size "$E2E_WORK/linux.png")")
# A scaled desktop: the window stretched, as Windows stretches the menu.
"$linux_tool" render "$cases/clean" -o "$E2E_WORK/linux2.png" --scale 1.5
win render "$(winepath -w "$cases/clean")" -o "$(winepath -w "$folder")\\shot.png" --scale 1.5 >/dev/null
[ "$(png_size "$folder/shot.png" 2>/dev/null)" = "$(png_size "$E2E_WORK/linux2.png")" ] ||
    failures+=("render --scale 1.5: $(png_size "$folder/shot.png" 2>&1), the Linux tool's $(png_size "$E2E_WORK/linux2.png")")

# pack, with both menus and the notices from beside the tool: the medium the
# Linux tool makes of the same folder, byte for byte.
tools="$E2E_WORK/tool folder"
mkdir -p "$tools"
cp "$tool" "$AUTOMENU_WINDOWS_BUILD/automenu.exe" "$AUTOMENU_WINDOWS_BUILD/automenu-licenses.txt" "$tools/"
cp "$(dirname "$linux_tool")/automenu" "$tools/automenu"
rm -f "$folder/shot.png"
wine "$tools/automenu-tool.exe" pack "$(winepath -w "$folder")" "$(winepath -w "$E2E_WORK/medium")" \
    >"$E2E_WORK/pack.out" 2>&1 || failures+=("pack: $(cat "$E2E_WORK/pack.out")")
"$linux_tool" pack "$folder" "$E2E_WORK/linux medium" --windows-menu "$tools/automenu.exe" \
    --linux-menu "$tools/automenu" >/dev/null 2>&1 || failures+=("the Linux tool's pack failed")
listing() { (cd "$1" && find . -type f | sort); }
[ "$(listing "$E2E_WORK/medium")" = "$(listing "$E2E_WORK/linux medium")" ] ||
    failures+=("pack's files:"$'\n'"$(diff <(listing "$E2E_WORK/linux medium") <(listing "$E2E_WORK/medium"))")
for name in AUTORUN.INF autorun.sh automenu.exe automenu automenu-licenses.txt BACK.PNG; do
    cmp -s "$E2E_WORK/medium/$name" "$E2E_WORK/linux medium/$name" || failures+=("pack: $name differs")
done
! grep -q $'\r' "$E2E_WORK/medium/autorun.sh" || failures+=("pack: autorun.sh has CR LF line ends")

# Where Windows has no image mastering API (Wine), --iso says so and leaves
# nothing behind.
wine "$tools/automenu-tool.exe" pack "$(winepath -w "$folder")" "$(winepath -w "$E2E_WORK/imaged")" \
    --iso "$(winepath -w "$E2E_WORK/medium.iso")" >"$E2E_WORK/iso.out" 2>&1
status=$?
[ "$status" = 1 ] && grep -q "IMAPI2FS" "$E2E_WORK/iso.out" || failures+=("pack --iso ($status): $(cat "$E2E_WORK/iso.out")")
[ ! -e "$E2E_WORK/imaged" ] && [ ! -e "$E2E_WORK/medium.iso" ] || failures+=("pack --iso left files behind")
# Into a folder that is not empty: nothing written.
wine "$tools/automenu-tool.exe" pack "$(winepath -w "$folder")" "$(winepath -w "$E2E_WORK/medium")" \
    >"$E2E_WORK/again.out" 2>&1 && failures+=("pack into a full folder succeeded")
[ "$(listing "$E2E_WORK/medium")" = "$(listing "$E2E_WORK/linux medium")" ] ||
    failures+=("pack into a full folder changed it")

if [ ${#failures[@]} -gt 0 ]; then
    printf '%s\n' "${failures[@]}" >&2
    e2e_fail "${#failures[@]} differences from the Linux tool"
fi
echo "ok"
