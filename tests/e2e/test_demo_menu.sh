# The demo menu shows as configured; clicking entries opens their targets
# through xdg-open (a stub here) or starts them directly when they are
# programs (executable and beginning with "#!" or the ELF magic);
# odd characters reach the opener as one unchanged argument; the exit entry
# ends the program with status 0. The programs it starts see the environment
# it was started with.
demo=$E2E_WORK/demo
cp -r "$AUTOMENU_SOURCE_DIR/examples/demo" "$demo"
# Entry 3 becomes a program that leaves a mark; entry 2 a name full of
# characters a shell would take apart (a shell run in the menu's folder
# would leave "pwned" there).
printf '#!/bin/sh\ntouch "%s/ran"\n' "$E2E_WORK" >"$demo/check-computer.sh"
odd="odd name 'q' \"d\" ; \$(touch pwned) \`x\`.txt"
: >"$demo/$odd"
sed -i "s|^Installation Message Label 2 File Path=.*|Installation Message Label 2 File Path=$odd\r|" "$demo/AUTORUN.INF"

bin=$E2E_WORK/bin
mkdir -p "$bin"
cat >"$bin/xdg-open" <<STUB
#!/bin/sh
{ echo "argc=\$#"; for a in "\$@"; do printf 'arg=%s\n' "\$a"; done; } >>"$E2E_WORK/opened"
printf '%s\n' "\${XCOMPOSEFILE-unset}" >"$E2E_WORK/compose"
STUB
chmod +x "$bin/xdg-open"
: >"$E2E_WORK/Compose"
PATH="$bin:$PATH" XCOMPOSEFILE="$E2E_WORK/Compose" e2e_start "$demo"

wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"
read -r fl fr ft fb < <(e2e_frame "$wid")
read -r _ _ w h < <(e2e_geometry "$wid")
e2e_expect_eq "outer size" "640x480" "$((w + fl + fr))x$((h + ft + fb))"

# The look, against the committed reference (fonts may differ by a few pixels).
e2e_mouse "$wid" 300 420  # over the background: the normal look
e2e_client_shot "$wid" "$E2E_OUT/demo.png"
diff_pixels=$(compare -metric AE -fuzz 20% "$E2E_OUT/demo.png" "$AUTOMENU_SOURCE_DIR/tests/e2e/reference/demo.png" null: 2>&1)
[ "${diff_pixels%%.*}" -lt 1500 ] 2>/dev/null || e2e_fail "demo differs from the reference in $diff_pixels pixels"

# Entry 1: a text file, handed to xdg-open as its one argument.
e2e_mouse "$wid" 60 158
e2e_click
# Entry 2: the odd name, one argument, nothing of it run by a shell.
e2e_mouse "$wid" 60 192
e2e_click
# Entry 3: a "#!" script with execute permission, started directly.
e2e_mouse "$wid" 60 226
e2e_click
sleep 0.5
expected=$(printf 'argc=1\narg=%s\nargc=1\narg=%s' "$demo/readme.txt" "$demo/$odd")
e2e_expect_eq "xdg-open calls" "$expected" "$(cat "$E2E_WORK/opened" 2>/dev/null)"
[ -e "$E2E_WORK/ran" ] || e2e_fail "the executable entry did not run"
e2e_expect_eq "environment of a started program" "$E2E_WORK/Compose" "$(cat "$E2E_WORK/compose" 2>/dev/null)"
[ ! -e "$demo/pwned" ] || e2e_fail "part of a launch target was run by a shell"

# The exit entry.
e2e_mouse "$wid" 580 428
e2e_click
e2e_wait_exit 10 || e2e_fail "the exit entry did not end the program"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"
echo ok
