# A start-up error in the Windows program: the box with the application's
# title and the message, then the program ends with status 0. Wine's trace of
# the box shows its text.
mkdir -p "$E2E_WORK/bad"
printf '[Installation Form Size Setup]\r\nForm Height=abc\r\n' >"$E2E_WORK/bad/AUTORUN.INF"
WINEDEBUG=+msgbox e2e_start "$E2E_WORK/bad"
e2e_dismiss_box automenu || e2e_dismiss_box automenu || e2e_fail "no error box captioned automenu"
e2e_wait_exit 20 || e2e_fail "the program did not end after the box"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"
grep -q "MSGBOX_OnInit L\"'abc' is not a valid integer value.\"" "$E2E_WORK/app.err" ||
    e2e_fail "box text: $(grep MSGBOX "$E2E_WORK/app.err")"
echo "ok"
