# The same menu in ten languages, each saved the four ways an author saves it
# (tests/data/languages). Under Wine in the language's locale, which gives
# Wine the language's ANSI code page, every file draws exactly the captions
# the Linux reader gives (expected.txt), in the same pixels as its UTF-16
# file, with the background picture named in the language; a click on entry 1
# of the ANSI file starts the program named in the language. In an English
# locale the Unicode files draw the same captions (Wine's fonts for Arial
# lack some scripts there, so only the text is compared). Then the profile
# reader's differential tests run in code page 932.
corpus=$AUTOMENU_SOURCE_DIR/tests/data/languages
tests_exe=$AUTOMENU_WINDOWS_BUILD/tests/windows/automenu_windows_tests.exe
record=$AUTOMENU_WINDOWS_BUILD/tests/windows/record_open.exe
# Wine names files in the C library's character set: the locales are
# compiled into the build folder (once: each takes seconds), not the system.
locales=$AUTOMENU_WINDOWS_BUILD/locales
mkdir -p "$locales"
compile_locale() {
    [ -d "$locales/$1" ] || localedef -i "${1%%.*}" -f UTF-8 "$locales/$1" 2>/dev/null ||
        [ -d "$locales/$1" ] || e2e_fail "cannot compile the locale $1 (Debian package: locales)"
}
value_of() { awk -F '\t' -v k="$2" '$2 == k {print $3; exit}' "$corpus/$1/expected.txt"; }

# The captions the menu shows at start, as Wine's trace of DrawTextExW
# writes them (characters outside ASCII as \XXXX), one a line, sorted.
expected_captions() {
    python3 - "$corpus/$1/expected.txt" <<'PY'
import sys
keys = {"Title Message Label Caption", "Normal Message Label 1 Caption", "Exit Label Caption",
        "Installation Message Label 1 Caption", "Installation Message Label 2 Caption"}
rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[1], encoding="utf-8")][2:]
def traced(text):
    return 'L"' + "".join(c if 0x20 <= ord(c) < 0x7F and c not in '"\\' else "\\%04x" % ord(c) for c in text) + '"'
print("\n".join(sorted({traced(value) for _, key, value in rows if key in keys})))
PY
}
drawn_captions() {
    grep -a 'DrawTextExW L' "$E2E_WORK/app.err" | grep ' 00000040$' |
        sed -E 's/^.*DrawTextExW (L".*"), [0-9]+, \[.*$/\1/' | LC_ALL=C sort -u
}

# shot LOCALE DIR OUT [click]: starts the menu in DIR with LOCALE, keeps the
# captions it draws as OUT.txt and its inner area as OUT.png; with "click",
# entry 1 is clicked before the menu is closed.
shot() {
    xdotool mousemove 1270 1010
    (cd "$2" && exec env LC_ALL="$1" LOCPATH="$locales" WINEDEBUG=-all,trace+text "$AUTOMENU_BIN" \
        >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err") &
    E2E_APP_PID=$!
    E2E_PIDS+=("$E2E_APP_PID")
    local wid want
    wid=$(e2e_wait_window Installation 60) || e2e_fail "no menu window for $2 in $1"
    # Drawn once every caption has been painted.
    want=$(wc -l <"$E2E_OUT/$language-expected.txt")
    for _ in $(seq 100); do [ "$(drawn_captions | wc -l)" -ge "$want" ] && break; sleep 0.1; done
    sleep 0.3
    e2e_client_shot "$wid" "$3.png"
    if [ "${4:-}" = click ]; then
        e2e_mouse "$wid" 44 100
        e2e_click
    fi
    wmctrl -i -c "$wid"
    e2e_wait_exit 20 || e2e_fail "the menu did not close ($2 in $1)"
    drawn_captions >"$3.txt"
}

compile_locale en_US.UTF-8
for language in $(ls "$corpus"); do
    [ -f "$corpus/$language/expected.txt" ] || continue
    locale=$(head -1 "$corpus/$language/expected.txt")
    compile_locale "$locale"
    expected_captions "$language" | LC_ALL=C sort >"$E2E_OUT/$language-expected.txt"
    target=$(value_of "$language" "Installation Message Label 1 File Path")
    for encoding in utf16 ansi utf8 utf8-mark; do
        dir=$E2E_WORK/$language-$encoding
        mkdir -p "$dir"
        cp "$corpus/$language/$encoding.inf" "$dir/AUTORUN.INF"
        cp "$AUTOMENU_SOURCE_DIR/tests/data/pictures/pal1.bmp" "$dir/$(value_of "$language" "BackGround Image Name")"
        cp "$record" "$dir/$target"
        out=$E2E_OUT/$language-$encoding
        shot "$locale" "$dir" "$out" $([ $encoding = ansi ] && echo click)
        cmp -s "$E2E_OUT/$language-expected.txt" "$out.txt" ||
            e2e_fail "$language/$encoding: the captions drawn differ: $(diff "$E2E_OUT/$language-expected.txt" "$out.txt")"
        d=$(compare -metric AE "$E2E_OUT/$language-utf16.png" "$out.png" null: 2>&1)
        [ "$d" = 0 ] || e2e_fail "$language: the $encoding file draws $d pixels unlike the UTF-16 one"
    done
    for _ in $(seq 100); do [ -s "$E2E_WORK/$language-ansi/opened.txt" ] && break; sleep 0.1; done
    dir=$E2E_WORK/$language-ansi
    grep -qF "program=Z:${dir//\//\\}\\$target" "$dir/opened.txt" ||
        e2e_fail "$language: entry 1 did not start $target: $(cat "$dir/opened.txt" 2>/dev/null)"
    case $language in ar | ja | ru | th)
        # On an English PC the Unicode files show the same captions.
        for encoding in utf16 utf8; do
            out=$E2E_OUT/$language-$encoding-en
            shot en_US.UTF-8 "$E2E_WORK/$language-$encoding" "$out"
            cmp -s "$E2E_OUT/$language-expected.txt" "$out.txt" ||
                e2e_fail "$language/$encoding in English: the captions drawn differ: $(diff "$E2E_OUT/$language-expected.txt" "$out.txt")"
        done ;;
    esac
    echo "$language: the same captions from every file"
done

compile_locale ja_JP.UTF-8
env LC_ALL=ja_JP.UTF-8 LOCPATH="$locales" wine "$tests_exe" --gtest_filter='ProfileDifferential.*' \
    >"$E2E_OUT/differential-932.log" 2>&1 ||
    e2e_fail "the differential tests fail in code page 932: $(grep -A5 FAILED "$E2E_OUT/differential-932.log" | head -20)"
grep -q "SKIPPED" "$E2E_OUT/differential-932.log" && e2e_fail "the differential tests did not run in code page 932"
echo ok
