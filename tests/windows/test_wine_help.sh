# automenu.exe --help and --version: printed where its output goes, status 0,
# and no window opened.
menu=$AUTOMENU_WINDOWS_BUILD/automenu.exe
for word in --version --help; do
    (cd "$E2E_WORK" && wine "$menu" "$word" >"$E2E_WORK/out" 2>/dev/null)
    e2e_expect_eq "status of $word" 0 "$?"
    out=$(tr -d '\r' <"$E2E_WORK/out")
    case $word in
    --version) [[ $out =~ ^automenu\.exe\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || e2e_fail "--version printed: $out" ;;
    --help) grep -q "^usage: automenu.exe" <<<"$out" || e2e_fail "--help printed: $out" ;;
    esac
    ! wmctrl -l | grep -q Installation || e2e_fail "$word opened a window"
done
echo "ok"
