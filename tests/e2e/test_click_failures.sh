# Every click answers. A stub xdg-open on PATH logs its arguments and ends
# with the status in $E2E_WORK/status after sleeping $E2E_WORK/sleep seconds.
# A web link reaches it as the one unchanged argument; an entry's Linux target
# is opened instead of its File Path; a missing file, each failing status and
# a missing opener give one error box with its sentence, after which the menu
# goes on and closes normally; a slow opener delays neither hover nor the
# exit entry, and no opener is left a zombie.
media=$E2E_WORK/media
mkdir -p "$media"
cp "$AUTOMENU_SOURCE_DIR/examples/demo/BACKGROUND.BMP" "$media/"
printf 'Read me first.\r\n' >"$media/README.TXT"
printf 'MZ\220\000' >"$media/SETUP.EXE"
printf '#!/bin/sh\necho "ran $0" >>"%s/ran"\n' "$E2E_WORK" >"$media/install.sh"
chmod +x "$media/install.sh"
url='https://www.example.com/support?lang=en&topic=a b'

# entry N CAPTION TOP PATH LINUX-PATH: the section of entry N, with no Linux
# target for "-".
entry() {
    local k="Installation Message Label $1"
    printf '%s\n' "[$k Font Setup]" "$k Caption=$2" "$k Font Top=$3" "$k Font Left=48"
    e2e_label_looks "$k" clWhite NO 14
    printf '%s\n' "$k File Path=$4"
    [ "$5" = - ] || printf '%s\n' "$k Linux File Path=$5"
    echo
}
{
    e2e_form_640
    printf '%s\n' "[Exit Label Setup]" "Exit Label Use=YES" "Exit Label Caption=Exit" "Exit Label Top=420" \
        "Exit Label Left=570"
    e2e_label_looks "Exit Label" clSilver NO 12
    printf '\n%s\n%s\n\n' "[Installation Message Label Count Setup]" "Installation Message Label Count=5"
    entry 1 "Our web site" 150 "$url" -
    entry 2 "Read me first" 184 README.TXT -
    entry 3 "Missing" 218 NOSUCH.TXT -
    entry 4 "Install (Windows)" 252 SETUP.EXE -
    entry 5 "Install" 286 SETUP.EXE install.sh
} | sed 's/$/\r/' >"$media/AUTORUN.INF"

bin=$E2E_WORK/bin
mkdir -p "$bin"
cat >"$bin/xdg-open" <<STUB
#!/bin/sh
{ echo "argc=\$#"; for a in "\$@"; do printf 'arg=%s\n' "\$a"; done; } >>"$E2E_WORK/opened"
sleep "\$(cat "$E2E_WORK/sleep")"
exit "\$(cat "$E2E_WORK/status")"
STUB
chmod +x "$bin/xdg-open"
echo 0 >"$E2E_WORK/status"
echo 0 >"$E2E_WORK/sleep"

top_of() { echo $((150 + 34 * ($1 - 1) + 8)); }
# click_entry N: clicks entry N.
click_entry() {
    e2e_mouse "$wid" 60 "$(top_of "$1")"
    e2e_click
}
# expect_box WHAT TEXT: one box comes up, with TEXT on standard error; OK
# closes it and the menu goes on.
expect_box() {
    local box
    box=$(e2e_wait_window Automenu 10) || e2e_fail "$1: no error box"
    sleep 0.3
    [ "$(xdotool search --onlyvisible --name '^Automenu$' | wc -l)" = 1 ] || e2e_fail "$1: more than one box"
    [ -n "${SHOT:-}" ] && e2e_screenshot "$E2E_OUT/$SHOT" && SHOT=
    xdotool key Return
    for _ in $(seq 100); do [ -z "$(xdotool search --onlyvisible --name '^Automenu$')" ] && break; sleep 0.05; done
    [ -z "$(xdotool search --onlyvisible --name '^Automenu$')" ] || e2e_fail "$1: OK left the box up"
    kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "$1: the menu ended with the box"
    grep -qxF "Automenu: $2" "$E2E_WORK/app.err" || e2e_fail "$1: expected 'Automenu: $2' in: $(cat "$E2E_WORK/app.err")"
}
# no_box WHAT: no box comes up within a second.
no_box() {
    sleep 1
    [ -z "$(xdotool search --onlyvisible --name '^Automenu$')" ] || e2e_fail "$1: a box came up"
}
# zombies: children of the menu that have ended and were not reaped.
zombies() { ps --ppid "$E2E_APP_PID" -o stat= | grep -c '^Z'; }

PATH="$bin:$PATH" e2e_start "$media"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window"

# A web link: the opener gets it as its one argument, exactly.
click_entry 1
for _ in $(seq 100); do [ -s "$E2E_WORK/opened" ] && break; sleep 0.05; done
e2e_expect_eq "the link's opener call" "$(printf 'argc=1\narg=%s' "$url")" "$(cat "$E2E_WORK/opened" 2>/dev/null)"
no_box "a link opened"

# The Linux target: install.sh runs, and the opener is not called.
: >"$E2E_WORK/opened"
click_entry 5
for _ in $(seq 100); do [ -s "$E2E_WORK/ran" ] && break; sleep 0.05; done
e2e_expect_eq "the Linux target" "ran $media/install.sh" "$(cat "$E2E_WORK/ran" 2>/dev/null)"
e2e_expect_eq "the opener after the Linux target" "" "$(cat "$E2E_WORK/opened")"

SHOT=click-failure-box.png
click_entry 3
expect_box "a missing file" "Cannot open \"$media/NOSUCH.TXT\": there is no such file or folder."
e2e_expect_eq "the opener for a missing file" "" "$(cat "$E2E_WORK/opened")"

for case in "2 there is no such file or folder." \
            "3 no program on this computer is set up to open it." \
            "4 the program that should open it reported a failure." \
            "5 access is denied." \
            "1 the program that should open it reported a failure."; do
    echo "${case%% *}" >"$E2E_WORK/status"
    click_entry 2
    expect_box "status ${case%% *}" "Cannot open \"$media/README.TXT\": ${case#* }"
done
echo 3 >"$E2E_WORK/status"
click_entry 4
expect_box "a Windows program nothing opens" \
    "Cannot start \"$media/SETUP.EXE\": it is a Windows program, which runs only on Windows."
e2e_expect_eq "zombies after the openers ended" 0 "$(zombies)"

# A slow opener: hover and the exit entry answer while it sleeps.
echo 5 >"$E2E_WORK/sleep"
echo 4 >"$E2E_WORK/status"
click_entry 2
e2e_mouse "$wid" 60 "$(top_of 4)"
e2e_client_shot "$wid" "$E2E_OUT/hover-while-opening.png"
[ "$(e2e_count_colour "$E2E_OUT/hover-while-opening.png" 40 "$(($(top_of 4) - 8))" 300 24 yellow)" -gt 20 ] ||
    e2e_fail "entry 4 did not take its hover look while the opener runs"
start=$(date +%s%N)
e2e_mouse "$wid" 580 428
e2e_click
e2e_wait_exit 10 || e2e_fail "the exit entry did not end the menu while the opener runs"
elapsed=$((($(date +%s%N) - start) / 1000000))
[ "$elapsed" -lt 3000 ] || e2e_fail "the exit entry waited for the opener: ${elapsed} ms"
e2e_expect_eq "exit status" 0 "$E2E_STATUS"

# No opener at all.
echo 0 >"$E2E_WORK/sleep"
PATH="$E2E_WORK/none" e2e_start "$media"
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window without an opener"
click_entry 2
expect_box "no opener" \
    "Cannot open \"$media/README.TXT\": xdg-open, which opens files and links on this desktop, is not installed (package xdg-utils)."
e2e_mouse "$wid" 580 428
e2e_click
e2e_wait_exit 10 || e2e_fail "the exit entry did not end the menu after the box"
e2e_expect_eq "exit status after the box" 0 "$E2E_STATUS"
echo ok
