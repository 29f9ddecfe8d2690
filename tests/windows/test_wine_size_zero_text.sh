# Side by side with the Linux program: an entry without font size keys (size
# 0, the GDI's default height) and the window's face (240 grey). The ink of
# "Installation Setup" in Arial at size 0 covers 104 x 14 pixels on Linux
# (automenu-tool render of the same file); the Windows program under Wine
# must draw it within 2 pixels of that, and not at the window's 8 points
# (80 x 10).
media=$E2E_WORK/media
mkdir -p "$media"
k="Installation Message Label 1"
printf '%s\r\n' "[Installation Form Size Setup]" "Form Height=300" "Form Width=400" \
    "[Installation Message Label Count Setup]" "Installation Message Label Count=1" \
    "[$k Font Setup]" "$k Caption=Installation Setup" "$k Font Top=40" "$k Font Left=40" \
    "$k First Font Name=Arial" "$k First Font Color=clBlack" >"$media/AUTORUN.INF"

xdotool mousemove 0 0
e2e_start "$media"
wid=$(e2e_wait_window Installation 60) || e2e_fail "no window named Installation"
sleep 1
e2e_client_shot "$wid" "$E2E_OUT/wine-size0.png"
read -r w h < <(convert "$E2E_OUT/wine-size0.png" -crop 300x60+20+30 +repage -fill white -fuzz 30% +opaque black \
    -trim -format '%w %h\n' info:)
echo "ink: ${w}x${h} (Linux: 104x14)"
[ "${w#-}" -ge 102 ] && [ "$w" -le 106 ] && [ "$h" -ge 12 ] && [ "$h" -le 16 ] ||
    e2e_fail "size 0 drawn ${w}x${h}, the Linux program draws 104x14"
# The face, with the prefix's colours those of a current Windows.
face=$(convert "$E2E_OUT/wine-size0.png" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' -crop 1x1+300+250 info:)
echo "face: $face (Linux: 240,240,240)"
[ "$face" = 240,240,240 ] || e2e_fail "the window's face is $face, the Linux program paints 240,240,240"
wmctrl -c Installation
e2e_wait_exit 20 || e2e_fail "the program did not end"
echo ok
