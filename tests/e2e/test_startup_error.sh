# A value that is not an integer stops start-up: one message box captioned
# "Automenu" with the conversion message, then the program ends with status 0.
folder=$E2E_WORK/menu
mkdir "$folder"
printf '[Installation Form Size Setup]\r\nForm Height=abc\r\nForm Width=640\r\n' >"$folder/AUTORUN.INF"
e2e_start "$folder"
e2e_dismiss_box Automenu || e2e_fail "no message box captioned Automenu"
e2e_wait_exit 10 || e2e_fail "the program did not end after the message"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"
e2e_expect_eq "message" "Automenu: 'abc' is not a valid integer value." "$(cat "$E2E_WORK/app.err")"
[ -z "$(xdotool search --onlyvisible --name '^Installation$' 2>/dev/null)" ] || e2e_fail "the menu window is still there"
echo ok
