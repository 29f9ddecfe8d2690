# Clicks in the Windows program under Wine: the entry's program starts with
# the show command SW_SHOW (5), its Linux target is never read, a link
# reaches the shell unchanged (a scheme registered for the test hands it to
# a program that logs its command line), and a missing target gives the
# menu's own box, once, after which the menu goes on and closes.
media=$E2E_WORK/media
mkdir -p "$media"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe" "$media/SETUP.EXE"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe" "$media/OTHER.EXE"
mkdir -p "$media/handler"
cp "$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe" "$media/handler/LINK.EXE"
link='automenu-test://www.example.com/support?lang=en&topic=a%20b'

handler=$(winepath -w "$media/handler/LINK.EXE")
wine reg add 'HKCR\automenu-test' /ve /d 'URL:automenu test link' /f >/dev/null 2>&1
wine reg add 'HKCR\automenu-test' /v 'URL Protocol' /d '' /f >/dev/null 2>&1
wine reg add 'HKCR\automenu-test\shell\open\command' /ve /d "\"$handler\" \"%1\"" /f >/dev/null 2>&1 ||
    e2e_fail "cannot register the test's link scheme"

entry() {  # entry N CAPTION TOP PATH [LINUX-PATH]
    local k="Installation Message Label $1"
    printf '%s\n' "[$k Font Setup]" "$k Caption=$2" "$k Font Top=$3" "$k Font Left=40" "$k File Path=$4"
    [ -z "${5:-}" ] || printf '%s\n' "$k Linux File Path=$5"
}
{
    printf '%s\n' "[Installation Form Size Setup]" "Form Height=300" "Form Width=400" \
        "[Exit Label Setup]" "Exit Label Use=YES" "Exit Label Caption=Leave" "Exit Label Top=240" \
        "Exit Label Left=300" "[Installation Message Label Count Setup]" "Installation Message Label Count=3"
    entry 1 Install 40 SETUP.EXE OTHER.EXE
    entry 2 "Web site" 80 "$link"
    entry 3 Missing 120 NOSUCH.EXE
} | sed 's/$/\r/' >"$media/AUTORUN.INF"

WINEDEBUG=+msgbox,+exec e2e_start "$media"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no window named Installation"
sleep 1

# The File Path, not the Linux target, with SW_SHOW.
e2e_mouse "$wid" 50 48
e2e_click
for _ in $(seq 100); do [ -s "$media/opened.txt" ] && break; sleep 0.1; done
[ -s "$media/opened.txt" ] || e2e_fail "the entry's program was not started"
grep -q 'program=.*\\SETUP.EXE$' "$media/opened.txt" || e2e_fail "wrong program: $(cat "$media/opened.txt")"
e2e_expect_eq "show command" "show=5" "$(grep '^show=' "$media/opened.txt")"

# The link, unchanged, to the shell (its trace) and through the scheme's
# handler.
e2e_mouse "$wid" 50 88
e2e_click
for _ in $(seq 100); do [ -s "$media/handler/opened.txt" ] && break; sleep 0.1; done
[ -s "$media/handler/opened.txt" ] || e2e_fail "the link reached no handler"
e2e_expect_eq "the handler's command line" "command=\"$handler\" \"$link\"" \
    "$(grep '^command=' "$media/handler/opened.txt")"
call=$(grep -F "verb=L\"open\" file=L\"$link\" parm=(null) dir=(null) show=0x00000005" "$E2E_WORK/app.err")
# No owner window, and SEE_MASK_FLAG_NO_UI (0x400).
echo "$call" | grep -qE 'SHELL_execute mask=0x00000400 hwnd=0+ ' ||
    e2e_fail "the shell's call: $(grep 'SHELL_execute mask' "$E2E_WORK/app.err")"
[ -z "$(xdotool search --onlyvisible --name '^automenu$')" ] || e2e_fail "a box after a link that opened"

# A missing file: our box, with the shell's own kept away.
e2e_mouse "$wid" 50 128
e2e_click
e2e_dismiss_box automenu || e2e_fail "no error box captioned automenu"
sleep 1
[ -z "$(xdotool search --onlyvisible --name '^automenu$')" ] || e2e_fail "a second box"
target=$(winepath -w "$media")'\NOSUCH.EXE'
expected="MSGBOX_OnInit L\"Cannot open \\\"${target//\\/\\\\}\\\": there is no such file or folder.\""
[ "$(grep -c 'MSGBOX_OnInit' "$E2E_WORK/app.err")" = 1 ] || e2e_fail "boxes: $(grep MSGBOX "$E2E_WORK/app.err")"
grep -qF "$expected" "$E2E_WORK/app.err" || e2e_fail "box text: $(grep MSGBOX "$E2E_WORK/app.err"), expected $expected"
e2e_expect_eq "programs started" 2 "$(cat "$media/opened.txt" "$media/handler/opened.txt" | grep -c '^program=')"

e2e_mouse "$wid" 310 248
e2e_click
e2e_wait_exit 20 || e2e_fail "the exit entry did not end the program after the box"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"
wine reg delete 'HKCR\automenu-test' /f >/dev/null 2>&1
echo "ok"
