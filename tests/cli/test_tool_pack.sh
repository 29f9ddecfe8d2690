#!/usr/bin/env bash
# automenu-tool pack makes a medium folder and its ISO image: the author's
# files unchanged but for an [autorun] section added byte-exactly where there
# is none, both menus and autorun.sh with the modes a medium needs, the menus
# found where an installed or built tool has them, and clear refusals. The
# source never changes; the medium and the image are whole or absent.
# Usage: test_tool_pack.sh TOOL SOURCE_DIR
set -uo pipefail
tool=$1
source_dir=$2
dir=$(mktemp -d)
small=$dir/small
cleanup() {
    mountpoint -q "$small" 2>/dev/null && umount "$small"
    rm -rf "$dir"
}
trap cleanup EXIT
. "$(dirname "$0")/../checks.sh"
linux_menu=$(dirname "$tool")/automenu
notices=$(dirname "$tool")/automenu-licenses.txt
printf 'MZ stands in for the Windows menu\n' >"$dir/automenu.exe"
exe=$dir/automenu.exe

# modes DIR: "MODE PATH" of everything in DIR, sorted.
modes() { (cd "$1" && find . -printf '%m %p\n' | sort -k2); }
# snapshot DIR: every entry's type, mode, link target and bytes.
snapshot() { (cd "$1" && find . -printf '%y %m %p %l\n' | sort && find . -type f -exec md5sum {} + | sort -k2); }

# The template: its [autorun] section is kept as it is.
"$tool" template "$dir/tpl" >/dev/null
long="Read me before installing Example Product.txt"
printf 'notes\n' >"$dir/tpl/$long"
"$tool" pack "$dir/tpl" "$dir/tpl-out" --windows-menu "$exe" --iso "$dir/tpl.iso" >"$dir/log" 2>&1 ||
    fail "pack of the template: $(cat "$dir/log")"
# The Windows menu that pack adds is not reported missing from the source.
! grep -q "automenu.exe" <(grep ": note: \|: warning: " "$dir/log") || fail "pack reports the menu it adds: $(cat "$dir/log")"
expected="755 .
644 ./AUTORUN.INF
644 ./BACK.PNG
644 ./LICENSE.TXT
644 ./LOGO.ICO
644 ./README.TXT
644 ./$long
755 ./automenu
644 ./automenu-licenses.txt
644 ./automenu.exe
755 ./autorun.sh"
[ "$(modes "$dir/tpl-out")" = "$expected" ] || fail "template medium: expected
$expected
got
$(modes "$dir/tpl-out")"
for f in AUTORUN.INF BACK.PNG LOGO.ICO "$long"; do
    cmp -s "$dir/tpl/$f" "$dir/tpl-out/$f" || fail "template medium: $f changed"
done
cmp -s "$exe" "$dir/tpl-out/automenu.exe" || fail "the Windows menu given is not the one on the medium"
cmp -s "$linux_menu" "$dir/tpl-out/automenu" || fail "the Linux menu beside the tool is not the one on the medium"
cmp -s "$notices" "$dir/tpl-out/automenu-licenses.txt" || fail "the notices beside the tool are not the ones on the medium"
for licence in "MIT License" "Zope Public License 2.1" "winpthreads" "Lockless Inc." "Independent JPEG Group" "D. R. Commander"; do
    grep -qF "$licence" "$dir/tpl-out/automenu-licenses.txt" || fail "the notices leave out $licence"
done
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
    "$tool" pack "$dir/tpl" "$dir/tpl-out2" --no-windows --iso "$dir/tpl2.iso" --volume-label "My Disc" >"$dir/log" 2>&1
    grep -q 'warning: file "automenu.exe" named by "open" in \[autorun\] does not exist' "$dir/log" ||
        fail "--no-windows: no warning that [autorun] names a menu the medium lacks: $(cat "$dir/log")"
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
cp "$exe" "$notices" "$dir/usr/share/automenu/"
"$dir/usr/bin/automenu-tool" pack "$dir/tpl" "$dir/installed-out" >"$dir/log" 2>&1 || fail "installed tool: $(cat "$dir/log")"
cmp -s "$exe" "$dir/installed-out/automenu.exe" || fail "installed tool: share/automenu/automenu.exe not taken"
cmp -s "$notices" "$dir/installed-out/automenu-licenses.txt" || fail "installed tool: share/automenu's notices not taken"

# Refusals: STATUS, a piece of the message, and nothing written: no medium,
# no image, the source as it was.
mkdir -p "$dir/alone" "$dir/full" "$dir/bad"
cp "$tool" "$dir/alone/"
: >"$dir/full/something"
printf '[Installation Form Size Setup]\r\nForm Width=wide\r\nForm Height=300\r\n' >"$dir/bad/AUTORUN.INF"
ln -s r1 "$dir/to-r1"          # the medium, before it exists
ln -s tpl "$dir/to-tpl"
refusals=(
    "1|the Windows menu automenu.exe is not where the tool looks|$dir/alone/automenu-tool pack $dir/tpl $dir/r1"
    "1|the Linux menu automenu is not where the tool looks|$dir/alone/automenu-tool pack $dir/tpl $dir/r1 --windows-menu $exe"
    "1|the licence notices automenu-licenses.txt are not where the tool looks|$dir/alone/automenu-tool pack $dir/tpl $dir/r1 --windows-menu $exe --linux-menu $linux_menu"
    "1|not a Windows program|$tool pack $dir/tpl $dir/r1 --windows-menu $dir/tpl/README.TXT"
    "1|exists and is not an empty folder|$tool pack $dir/tpl $dir/full --windows-menu $exe"
    "1|cannot be made inside|$tool pack $dir/tpl $dir/tpl/medium --windows-menu $exe"
    "1|cannot be made inside|$tool pack $dir/tpl $dir/to-tpl/medium --windows-menu $exe"
    "1|check found errors|$tool pack $dir/bad $dir/r1 --windows-menu $exe"
    "1|leave no menu|$tool pack $dir/tpl $dir/r1 --no-windows --no-linux"
    "1|volume label|$tool pack $dir/tpl $dir/r1 --no-windows --iso $dir/r1.iso --volume-label a/b"
    "1|cannot be written inside $dir/tpl,|$tool pack $dir/tpl $dir/r1 --windows-menu $exe --iso $dir/tpl/README.TXT"
    "1|cannot be written inside $dir/tpl,|$tool pack $dir/tpl $dir/r1 --windows-menu $exe --iso $dir/tpl/AUTORUN.INF"
    "1|cannot be written inside $dir/tpl,|$tool pack $dir/tpl $dir/r1 --windows-menu $exe --iso $dir/to-tpl/new.iso"
    "1|inside the medium it holds|$tool pack $dir/tpl $dir/r1 --windows-menu $exe --iso $dir/to-r1/r1.iso"
    "1|names a folder|$tool pack $dir/tpl $dir/r1 --windows-menu $exe --iso $dir/full"
    "1|would replace $exe|$tool pack $dir/tpl $dir/r1 --windows-menu $exe --iso $exe"
    "1|--keep NOTHERE: $dir/tpl has no NOTHERE|$tool pack $dir/tpl $dir/r1 --windows-menu $exe --keep NOTHERE"
    "2|usage|$tool pack $dir/tpl"
)
before=$(snapshot "$dir/tpl")
cp -a "$dir/tpl" "$dir/tpl-kept"
for case in "${refusals[@]}"; do
    IFS='|' read -r want_status want_text command <<<"$case"
    out=$($command 2>&1)
    status=$?
    [ "$status" = "$want_status" ] && grep -qF -- "$want_text" <<<"$out" ||
        fail "$command: expected status $want_status and '$want_text', got $status: $out"
    for made in "$dir/r1" "$dir/r1.iso" "$dir/tpl/medium"; do
        [ ! -e "$made" ] || fail "$command: $made was written"
    done
    if [ "$(snapshot "$dir/tpl")" != "$before" ]; then
        fail "$command: the source changed"
        rm -rf "$dir/tpl" && cp -a "$dir/tpl-kept" "$dir/tpl"
    fi
    if ! cmp -s "$exe" <(printf 'MZ stands in for the Windows menu\n'); then
        fail "$command: the Windows menu changed"
        printf 'MZ stands in for the Windows menu\n' >"$exe"
    fi
    rm -rf "$dir/r1" "$dir/r1.iso" "$dir/tpl/medium"
done
[ -z "$(ls "$dir/full" | grep -v something)" ] || fail "a refused pack wrote into $dir/full"

# The author's folder against the medium: names that differ only in case
# (which FAT, Joliet and Windows take for one), links, special files. Each
# case: a fresh copy of the template in c/, changed by SETUP, packed with
# OPTIONS to c-out/; the status, then checks: says:TEXT (in the output),
# has:PATH, lacks:PATH, mode:PATH=MODE, same:PATH=FILE (on the medium). A
# refusal writes nothing and leaves c/ as it was.
printf 'a key\n' >"$dir/secret.key"
tree_cases=(
    "folder named like the menu|mkdir AutoMenu && : >AutoMenu/f||1|says:$dir/c/AutoMenu and automenu (added by pack) are one name;says:give --keep PATH"
    "... left off|mkdir AutoMenu && : >AutoMenu/f|--leave-out AutoMenu|0|lacks:AutoMenu;same:automenu=$linux_menu;says:AutoMenu: left off"
    "... kept|mkdir AutoMenu && : >AutoMenu/f|--keep AutoMenu|0|has:AutoMenu/f;lacks:automenu;says:in place of the automenu pack adds"
    "old Windows menu|printf 'MZ old' >AutoMenu.EXE||1|says:$dir/c/AutoMenu.EXE and automenu.exe (added by pack)"
    "... left off|printf 'MZ old' >AutoMenu.EXE|--leave-out AutoMenu.EXE|0|lacks:AutoMenu.EXE;same:automenu.exe=$exe"
    "second configuration|printf '[x]\n' >autorun.inf||1|says:$dir/c/AUTORUN.INF and $dir/c/autorun.inf are one name"
    "... the lower-case one kept|printf '[x]\n' >autorun.inf|--keep autorun.inf|0|lacks:AUTORUN.INF;says:autorun.inf: [autorun] section added;says:AUTORUN.INF: left off"
    "own launcher in another case|printf 'echo mine\n' >Autorun.SH||1|says:$dir/c/Autorun.SH and autorun.sh (added by pack)"
    "... kept|printf 'echo mine\n' >Autorun.SH|--keep Autorun.SH|0|mode:Autorun.SH=755;lacks:autorun.sh;says:desktops start only autorun.sh"
    "own launcher|printf 'echo mine\n' >autorun.sh && chmod 644 autorun.sh|--keep autorun.sh|0|mode:autorun.sh=755;same:autorun.sh=$dir/c/autorun.sh;says:the author's own, kept"
    "own notices|printf 'mine' >Automenu-Licenses.TXT||1|says:$dir/c/Automenu-Licenses.TXT and automenu-licenses.txt (added by pack)"
    "... kept|printf 'mine' >Automenu-Licenses.TXT|--keep Automenu-Licenses.TXT|0|same:Automenu-Licenses.TXT=$dir/c/Automenu-Licenses.TXT;lacks:automenu-licenses.txt"
    "... with none added|printf 'mine' >automenu-licenses.txt|--no-notices|0|same:automenu-licenses.txt=$dir/c/automenu-licenses.txt"
    "no notices|true|--no-notices|0|lacks:automenu-licenses.txt;has:automenu.exe"
    "two spellings in a folder|mkdir d && : >d/Read.txt && : >d/READ.TXT||1|says:$dir/c/d/READ.TXT and $dir/c/d/Read.txt are one name"
    "... one left off|mkdir d && echo 1 >d/Read.txt && : >d/READ.TXT|--leave-out d/READ.TXT|0|lacks:d/READ.TXT;has:d/Read.txt"
    "three spellings|: >readme.txt && : >ReadMe.txt||1|says:$dir/c/README.TXT, $dir/c/ReadMe.txt and $dir/c/readme.txt are one name"
    "accented capitals|: >$(printf '\303\204').txt && : >$(printf '\303\244').txt||1|says:$(printf '\303\204').txt and $dir/c/$(printf '\303\244').txt"
    "Cyrillic|: >$(printf '\320\224').txt && : >$(printf '\320\264').txt||1|says:are one name"
    "link loop|ln -s loop loop||1|says:$dir/c/loop is a link in a loop of links"
    "link to nothing|ln -s nowhere gone||1|says:$dir/c/gone is a link to nothing"
    "link out of the source|ln -s $dir/secret.key key||1|says:$dir/c/key is a link to $dir/secret.key, outside $dir/c: give --follow-links"
    "... followed|ln -s $dir/secret.key key|--follow-links|0|same:key=$dir/secret.key;says:key: a link out of $dir/c"
    "link within the source|ln -s README.TXT copy.txt||0|same:copy.txt=$dir/tpl/README.TXT"
    "link to a folder|mkdir d && ln -s d dl||1|says:$dir/c/dl is a link to a folder"
    "pipe|mkfifo pipe||1|says:$dir/c/pipe is not a file or folder"
    "every problem at once|ln -s loop loop && ln -s nowhere gone||1|says:loop is a link in a loop;says:gone is a link to nothing"
)
for case in "${tree_cases[@]}"; do
    IFS='|' read -r name setup options want_status checks <<<"$case"
    rm -rf "$dir/c" "$dir/c-out"
    cp -r "$dir/tpl" "$dir/c"
    (cd "$dir/c" && eval "$setup") || fail "$name: setup"
    before=$(snapshot "$dir/c")
    # shellcheck disable=SC2086
    out=$("$tool" pack "$dir/c" "$dir/c-out" --windows-menu "$exe" $options 2>&1)
    status=$?
    [ "$status" = "$want_status" ] || fail "$name: status $status, expected $want_status: $out"
    [ "$(snapshot "$dir/c")" = "$before" ] || fail "$name: the source changed"
    [ "$status" = 0 ] || [ ! -e "$dir/c-out" ] || fail "$name: a refused pack left $dir/c-out"
    IFS=';' read -ra list <<<"$checks"
    for check in "${list[@]}"; do
        what=${check#*:}
        case $check in
        says:*) grep -qF -- "$what" <<<"$out" || fail "$name: does not say '$what': $out" ;;
        has:*) [ -e "$dir/c-out/$what" ] || fail "$name: $what is not on the medium" ;;
        lacks:*) [ ! -e "$dir/c-out/$what" ] || fail "$name: $what is on the medium" ;;
        mode:*) [ "$(stat -c %a "$dir/c-out/${what%=*}" 2>&1)" = "${what#*=}" ] || fail "$name: mode of ${what%=*}" ;;
        same:*) cmp -s "$dir/c-out/${what%=*}" "${what#*=}" || fail "$name: ${what%=*} is not ${what#*=}" ;;
        esac
    done
done

# A pack that fails half-way leaves no medium and no image, names the cause,
# and the same command succeeds once the cause is gone.
expect_failure() { # NAME WANT_TEXT OUT STATUS OUTPUT MEDIUM
    [ "$4" = 1 ] && grep -qF -- "$2" <<<"$5" || fail "$1: expected status 1 and '$2', got $4: $5"
    [ ! -e "$3" ] || fail "$1: left $3 behind: $(ls -A "$3")"
}
# An unreadable file of the author's (as root, tried as an ordinary user).
as_user=()
[ "$(id -u)" = 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
shared=$dir/shared
mkdir -m 1777 "$shared"
chmod 755 "$dir"
cp -r "$dir/tpl" "$shared/src"
cp "$exe" "$shared/"
printf 'private\n' >"$shared/src/private.txt"
chmod 000 "$shared/src/private.txt"
out=$("${as_user[@]}" "$tool" pack "$shared/src" "$shared/out" --windows-menu "$shared/automenu.exe" 2>&1)
expect_failure "unreadable file" "$shared/src/private.txt cannot be read: Permission denied" "$shared/out" $? "$out"
chmod 644 "$shared/src/private.txt"
"${as_user[@]}" "$tool" pack "$shared/src" "$shared/out" --windows-menu "$shared/automenu.exe" >/dev/null 2>&1 ||
    fail "unreadable file: the rerun failed"
chmod 700 "$dir"

# A full disk: a 2 MiB file system holds the template but not the Linux menu.
mkdir "$small"
if mount -t tmpfs -o size=2m tmpfs "$small" 2>/dev/null; then
    out=$("$tool" pack "$dir/tpl" "$small/out" --windows-menu "$exe" 2>&1)
    expect_failure "full disk" "$small/out/automenu cannot be written: No space left on device" "$small/out" $? "$out"
    [ -z "$(ls -A "$small")" ] || fail "full disk: left $(ls -A "$small")"
    umount "$small"
else
    # Not allowed to mount: a file size limit stands in for the full disk.
    out=$(trap '' XFSZ; ulimit -f 2048; "$tool" pack "$dir/tpl" "$small/out" --windows-menu "$exe" 2>&1)
    expect_failure "file size limit" "$small/out/automenu cannot be written: File too large" "$small/out" $? "$out"
    [ -z "$(ls -A "$small")" ] || fail "file size limit: left $(ls -A "$small")"
fi

# An xorriso that ends with status 0 but writes no image: a failure, and an
# image already there stays as it was.
mkdir -p "$dir/fake"
printf '#!/bin/sh\nexit 0\n' >"$dir/fake/xorriso"
chmod +x "$dir/fake/xorriso"
printf 'old image\n' >"$dir/r4.iso"
out=$(PATH="$dir/fake:$PATH" "$tool" pack "$dir/tpl" "$dir/r4" --windows-menu "$exe" --iso "$dir/r4.iso" 2>&1)
expect_failure "xorriso without image" "xorriso ended without an error but wrote no image for $dir/r4.iso" "$dir/r4" $? "$out"
[ "$(cat "$dir/r4.iso")" = "old image" ] || fail "xorriso without image: the old image changed"

# Errors may be packed on purpose; a missing xorriso is named.
"$tool" pack "$dir/bad" "$dir/r2" --windows-menu "$exe" --ignore-errors >/dev/null 2>&1 || fail "--ignore-errors did not go on"
out=$(PATH=/nonexistent "$tool" pack "$dir/tpl" "$dir/r3" --windows-menu "$exe" --iso "$dir/r3.iso" 2>&1)
[ $? = 1 ] && grep -qF "cannot run xorriso" <<<"$out" || fail "without xorriso: $out"

# Stopped from outside (the terminal closes, Ctrl+C, Ctrl+\, kill) while it
# copies or while xorriso writes the image, pack ends by that signal and
# leaves what was there: no medium, the old image, nothing hidden beside them,
# no xorriso still running. Each case: SIGNAL|WHILE (copy: a large file of
# the author's; image: an xorriso that waits)|OUT (new; empty: an empty
# folder there before; deep: in folders not there before).
ulimit -c 0 # a core of SIGQUIT is not what is looked at
set -m      # a background pack gets INT and QUIT, as from a terminal
sig=$dir/sig
mkdir -p "$sig/big" "$sig/img" "$sig/fake"
cp -r "$dir/tpl/." "$sig/big/"
truncate -s 4G "$sig/big/zz.bin" # sparse: made at once, copied for seconds
real_xorriso=$(command -v xorriso || echo false)
cat >"$sig/fake/xorriso" <<FAKE
#!/bin/sh
echo \$\$ >"$sig/xorriso.pid"
i=0
while [ ! -e "$sig/go" ] && [ \$i -lt 600 ]; do sleep 0.05; i=\$((i + 1)); done
exec "$real_xorriso" "\$@"
FAKE
chmod +x "$sig/fake/xorriso"
# waits_for PATTERN: whether a path matching it appears within 20 s.
waits_for() {
    local i
    for i in $(seq 400); do
        compgen -G "$1" >/dev/null && return 0
        sleep 0.05
    done
    return 1
}
# start_pack SOURCE OUT: pack with an image, in the background; $pid is it.
start_pack() {
    PATH="$sig/fake:$PATH" "$tool" pack "$1" "$2" --windows-menu "$exe" --iso "$sig/img/disc.iso" >"$sig/log" 2>&1 &
    pid=$!
}
stop_cases=(
    "HUP|copy|new" "INT|copy|empty" "QUIT|copy|deep" "TERM|copy|new"
    "HUP|image|empty" "INT|image|new" "QUIT|image|new" "TERM|image|deep"
)
for case in "${stop_cases[@]}"; do
    IFS='|' read -r signal while place <<<"$case"
    name="SIG$signal while writing the $while, OUT $place"
    rm -rf "$sig/m" "$sig/go" "$sig/xorriso.pid"
    mkdir "$sig/m"
    out=$sig/m/out
    case $place in
    empty) mkdir "$out" ;;
    deep) out=$sig/m/a/b/out ;;
    esac
    printf 'old image\n' >"$sig/img/disc.iso"
    before=$(find "$sig/m" "$sig/img" -printf '%y %m %p\n' | sort)
    if [ "$while" = copy ]; then
        start_pack "$sig/big" "$out"
        ready="$(dirname "$out")/.out.*/zz.bin"
    else
        start_pack "$dir/tpl" "$out"
        ready=$sig/xorriso.pid
    fi
    if ! waits_for "$ready"; then
        fail "$name: never got to the $while: $(cat "$sig/log")"
        kill -s KILL "$pid"
    fi
    kill -s "$signal" "$pid"
    wait "$pid" 2>/dev/null
    status=$?
    [ "$status" = $((128 + $(kill -l "$signal"))) ] || fail "$name: status $status: $(cat "$sig/log")"
    grep -qF "stopped by SIG$signal: nothing written" "$sig/log" || fail "$name: does not say why: $(cat "$sig/log")"
    after=$(find "$sig/m" "$sig/img" -printf '%y %m %p\n' | sort)
    [ "$after" = "$before" ] || fail "$name: expected
$before
got
$after"
    [ "$(cat "$sig/img/disc.iso")" = "old image" ] || fail "$name: the old image changed"
    if [ -s "$sig/xorriso.pid" ] && kill -0 "$(cat "$sig/xorriso.pid")" 2>/dev/null; then
        fail "$name: xorriso still runs"
    fi
    pgrep -f "$sig/fake/xorriso" >/dev/null && fail "$name: xorriso still runs: $(pgrep -af "$sig/fake/xorriso")"
done
# A signal ignored when pack starts (nohup; INT in a script's background job)
# stays ignored: the pack goes on to the end.
for signal in HUP INT; do
    rm -rf "$sig/m" "$sig/go" "$sig/xorriso.pid" "$sig/img/disc.iso"
    if [ "$signal" = HUP ]; then
        (trap '' HUP && PATH="$sig/fake:$PATH" exec "$tool" pack "$dir/tpl" "$sig/m" --windows-menu "$exe" \
            --iso "$sig/img/disc.iso" >"$sig/log" 2>&1) &
        pid=$!
    else
        set +m # without job control, a background command ignores INT
        start_pack "$dir/tpl" "$sig/m"
        set -m
    fi
    waits_for "$sig/xorriso.pid" || fail "ignored SIG$signal: xorriso never ran"
    kill -s "$signal" "$pid"
    touch "$sig/go"
    wait "$pid" 2>/dev/null
    status=$?
    [ "$status" = 0 ] && [ -f "$sig/m/AUTORUN.INF" ] && [ -f "$sig/img/disc.iso" ] ||
        fail "ignored SIG$signal: status $status: $(cat "$sig/log")"
done
set +m
rm -rf "$sig"

# Nothing is left beside a medium or an image: no half-made or hidden folder.
leftovers=$(find "$dir" -maxdepth 1 -name '.*' ! -name . | sed "s|^$dir/||")
[ -z "$leftovers" ] || fail "left beside the media: $leftovers"

checks_done
