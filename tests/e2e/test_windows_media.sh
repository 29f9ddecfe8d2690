# A menu on a disc written on Windows and mounted without Rock Ridge: every
# file and folder has mode 0555. Only a file that begins as a program of this
# system (here a "#!" script) is started; the text file, the Windows program
# (MZ) and the folder go to xdg-open (a stub here) as their one unchanged
# argument, and so does a "#!" script whose interpreter is missing, once
# starting it has failed.
media=$E2E_WORK/media
trap 'chmod -R u+w "$media" 2>/dev/null; e2e_cleanup' EXIT
mkdir -p "$media/DOCS"
cp "$AUTOMENU_SOURCE_DIR/examples/demo/BACKGROUND.BMP" "$media/"
printf 'Read me first.\r\n' >"$media/README.TXT"
printf 'MZ\220\000\003\000\000\000\004\000\000\000\377\377' >"$media/SETUP.EXE"
printf '#!/bin/sh\necho "ran $0 argc=$#" >>"%s/ran"\n' "$E2E_WORK" >"$media/CHECK.SH"
printf '#!/no/such/interpreter\necho "ran $0" >>"%s/ran"\n' "$E2E_WORK" >"$media/TOOLS.SH"

# entry N CAPTION TOP PATH: the section of clickable entry N.
entry() {
    local k="Installation Message Label $1"
    printf '%s\n' "[$k Font Setup]" "$k Caption=$2" "$k Font Top=$3" "$k Font Left=48"
    e2e_label_looks "$k" clWhite NO 14
    printf '%s\n' "$k File Path=$4" ""
}
{
    printf '%s\n' "[Logo Setup]" "Logo Use=NO" ""
    e2e_form_640
    cat <<'INF'
[Title Message Label Setup]
Title Message Label Use=NO

[Normal Message Label Count Setup]
Normal Message Label Count=0

[Exit Label Setup]
Exit Label Use=YES
Exit Label Caption=Exit
Exit Label Top=420
Exit Label Left=570
INF
    e2e_label_looks "Exit Label" clSilver YES 12
    printf '\n%s\n%s\n\n' "[Installation Message Label Count Setup]" "Installation Message Label Count=5"
    entry 1 "Read me first" 150 README.TXT
    entry 2 "Install (Windows)" 184 SETUP.EXE
    entry 3 "Browse the documents" 218 DOCS
    entry 4 "Check this computer" 252 CHECK.SH
    entry 5 "Tools" 286 TOOLS.SH
} | sed 's/$/\r/' >"$media/AUTORUN.INF"
chmod -R 0555 "$media"
"$AUTOMENU_BUILD_DIR/automenu-tool" check "$media" >"$E2E_OUT/check.txt" 2>&1 ||
    e2e_fail "the test's AUTORUN.INF does not pass check: $(cat "$E2E_OUT/check.txt")"

bin=$E2E_WORK/bin
mkdir -p "$bin"
cat >"$bin/xdg-open" <<STUB
#!/bin/sh
{ echo "argc=\$#"; for a in "\$@"; do printf 'arg=%s\n' "\$a"; done; } >>"$E2E_WORK/opened"
STUB
chmod +x "$bin/xdg-open"
PATH="$bin:$PATH" e2e_start "$media"

wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"
for top in 150 184 218 252 286; do
    e2e_mouse "$wid" 60 $((top + 8))
    e2e_click
done
# The programs run detached: wait for all their marks, up to 5 s.
for _ in $(seq 100); do
    [ "$(grep -c '^argc=' "$E2E_WORK/opened" 2>/dev/null)" = 4 ] && [ -s "$E2E_WORK/ran" ] && break
    sleep 0.05
done
expected=$(printf 'argc=1\narg=%s\n' "$media/README.TXT" "$media/SETUP.EXE" "$media/DOCS" "$media/TOOLS.SH")
e2e_expect_eq "xdg-open calls" "$expected" "$(cat "$E2E_WORK/opened" 2>/dev/null)"
e2e_expect_eq "programs run" "ran $media/CHECK.SH argc=0" "$(cat "$E2E_WORK/ran" 2>/dev/null)"
grep -qF "cannot start $media/TOOLS.SH" "$E2E_WORK/app.err" ||
    e2e_fail "no word on standard error about the script that could not be started"

e2e_mouse "$wid" 580 428
e2e_click
e2e_wait_exit 10 || e2e_fail "the exit entry did not end the program"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"
echo ok
