# Messages longer than the screen still give an error box, at once and
# inside the screen: a value of 2047 "W" (a word far wider than the screen)
# and a picture path through folders whose names are line breaks (more
# lines than the screen holds, cut with "..."). The whole message goes to
# standard error, OK works, and the program ends with status 0 as after any
# start-up error.
cases=(
    "word|[Installation Form Size Setup]\r\nForm Height=$(head -c 2047 /dev/zero | tr '\0' W)\r\n"
    "lines|[BackGround Image File Setup]\r\nBackGround Image Use=YES\r\nBackGround Image Path=NOW\r\nBackGround Image Name=missing.bmp\r\n"
)
for c in "${cases[@]}"; do
    name=${c%%|*}
    folder=$E2E_WORK/$name
    # Fifteen folders of 250 line breaks each: 3750 lines in the path.
    [ "$name" = lines ] && folder=$(python3 -c 'import os, sys
d = sys.argv[1] + "".join("/" + "\n" * 250 + "x" for _ in range(15))
os.makedirs(d)
print(d, end="")' "$folder") || mkdir -p "$folder"
    printf "${c#*|}" >"$folder/AUTORUN.INF"
    e2e_start "$folder"
    box=$(e2e_wait_window Automenu 10) || e2e_fail "$name: no error box: $(head -c 300 "$E2E_WORK/app.err")"
    sleep 0.5  # painted
    read -r gx gy gw gh < <(e2e_geometry "$box")
    read -r fl fr ft fb < <(e2e_frame "$box")
    [ $((gx - fl)) -ge 0 ] && [ $((gy - ft)) -ge 0 ] && [ $((gx + gw + fr)) -le 1280 ] && [ $((gy + gh + fb)) -le 1024 ] ||
        e2e_fail "$name: the box ${gw}x$gh at $gx,$gy (frame $fl $fr $ft $fb) is not inside the screen"
    e2e_screenshot "$E2E_OUT/long-message-$name.png"
    # The whole message, on one line of standard error for the word; from
    # "Automenu: " to the file name across all the lines for the path.
    case $name in
    word) grep -q "^Automenu: 'W\{2047\}' is not a valid integer value\.$" "$E2E_WORK/app.err" ;;
    lines) [ "$(wc -l <"$E2E_WORK/app.err")" -ge 3750 ] && tail -1 "$E2E_WORK/app.err" | grep -q "^x/missing.bmp\.$" ;;
    esac || e2e_fail "$name: the message on standard error is not whole: $(head -c 200 "$E2E_WORK/app.err")"
    xdotool mousemove $((gx + gw / 2)) $((gy + gh - 11 - 12)) click 1
    e2e_wait_exit 10 || e2e_fail "$name: OK did not end the program"
    e2e_expect_eq "$name: exit status" 0 "$E2E_STATUS"
done
echo ok
