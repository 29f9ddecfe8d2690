# A packed medium on a FAT stick: nothing on it is executable, and the
# desktop runs autorun.sh through /bin/sh with the medium's root as working
# directory. The script starts the Linux menu from a private copy and removes
# the copy when the menu ends, or when the script itself is stopped; where no
# menu can start it opens the medium's folder instead. Whatever the medium's
# path, it runs the medium's own menu and nothing else.
tool=$AUTOMENU_BUILD_DIR/automenu-tool
medium=$E2E_WORK/medium
"$tool" pack "$AUTOMENU_SOURCE_DIR/examples/demo" "$medium" --no-windows >"$E2E_WORK/pack.out" 2>&1 ||
    e2e_fail "pack failed: $(cat "$E2E_WORK/pack.out")"
find "$medium" -type f -exec chmod a-x {} +
[ -z "$(find "$medium" -type f -perm /111)" ] || e2e_fail "a file stayed executable"

bin=$E2E_WORK/bin
mkdir -p "$bin" "$E2E_WORK/runtime"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$E2E_WORK" >"$bin/xdg-open"
chmod +x "$bin/xdg-open"

(cd "$medium" && PATH="$bin:$PATH" XDG_RUNTIME_DIR=$E2E_WORK/runtime exec sh autorun.sh \
    >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err") &
E2E_APP_PID=$!
E2E_PIDS+=("$E2E_APP_PID")
wid=$(e2e_wait_window Installation 10) || e2e_fail "no menu window: $(cat "$E2E_WORK/app.err")"
read -r fl fr ft fb < <(e2e_frame "$wid")
read -r _ _ w h < <(e2e_geometry "$wid")
e2e_expect_eq "outer size" "640x480" "$((w + fl + fr))x$((h + ft + fb))"
# It shows the medium's own menu: the demo, as the tool draws it.
e2e_mouse "$wid" 300 420
e2e_client_shot "$wid" "$E2E_OUT/menu.png"
"$tool" render "$medium" -o "$E2E_OUT/render.png" >/dev/null || e2e_fail "render failed"
differing=$(e2e_differing 20% "$E2E_OUT/menu.png" "$E2E_OUT/render.png" menu)
[ "${differing%%.*}" -lt 1500 ] 2>/dev/null || e2e_fail "the window differs from the medium's menu in $differing pixels"
[ -n "$(ls "$E2E_WORK/runtime")" ] || e2e_fail "the menu did not run from a private copy"

wmctrl -i -c "$wid"
e2e_wait_exit 10 || e2e_fail "autorun.sh did not end with the menu"
e2e_expect_eq "autorun.sh status" 0 "$E2E_STATUS"
e2e_expect_eq "copies left" "" "$(ls "$E2E_WORK/runtime")"
[ ! -e "$E2E_WORK/opened" ] || e2e_fail "the folder was opened although the menu ran"

# A menu that cannot start (here: not a program of this computer), run from
# another folder: the medium's root is opened instead.
printf 'not a program\n' >"$medium/automenu"
(cd / && PATH="$bin:$PATH" XDG_RUNTIME_DIR=$E2E_WORK/runtime exec sh "$medium/autorun.sh" \
    >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err") &
E2E_APP_PID=$!
E2E_PIDS+=("$E2E_APP_PID")
e2e_wait_exit 10 || e2e_fail "autorun.sh hung with a menu that cannot start"
e2e_expect_eq "opened" "$medium" "$(cat "$E2E_WORK/opened" 2>/dev/null)"
e2e_expect_eq "copies left" "" "$(ls "$E2E_WORK/runtime")"

# Stopped while the menu runs (the session ends: HUP; asked to end: TERM), the
# script ends the menu and removes its private copy, and ends by that signal.
cp "$AUTOMENU_BUILD_DIR/automenu" "$medium/automenu"
chmod a-x "$medium/automenu"
for signal in HUP TERM; do
    (cd "$medium" && PATH="$bin:$PATH" XDG_RUNTIME_DIR=$E2E_WORK/runtime exec sh autorun.sh \
        >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err") &
    E2E_APP_PID=$!
    E2E_PIDS+=("$E2E_APP_PID")
    e2e_wait_window Installation 10 >/dev/null || e2e_fail "$signal: no menu window: $(cat "$E2E_WORK/app.err")"
    [ -n "$(ls "$E2E_WORK/runtime")" ] || e2e_fail "$signal: the menu did not run from a private copy"
    kill -s "$signal" "$E2E_APP_PID"
    e2e_wait_exit 10 || e2e_fail "autorun.sh did not end on $signal"
    e2e_expect_eq "status after $signal" "$((128 + $(kill -l "$signal")))" "$E2E_STATUS"
    e2e_expect_eq "copies left after $signal" "" "$(ls "$E2E_WORK/runtime")"
    for _ in $(seq 200); do
        [ -z "$(xdotool search --onlyvisible --name '^Installation$' 2>/dev/null)" ] && break
        sleep 0.05
    done
    [ -z "$(xdotool search --onlyvisible --name '^Installation$' 2>/dev/null)" ] ||
        e2e_fail "the menu outlived autorun.sh after $signal"
done

# Hostile places. Each medium's automenu is a stand-in that records
# "medium"; a decoy that records "decoy" waits where a script that lost
# track of its folder would look: the path cut at its trailing newline, the
# folder it was started from, the folder CDPATH leads to.
places=$E2E_WORK/places
mkdir -p "$places/elsewhere/cd" "$places/disc"
stand_in() { # FILE WORD [MODE]
    printf '#!/bin/sh\necho %s >>"%s/ran"\n' "$2" "$places" >"$1"
    chmod "${3:-755}" "$1"
}
medium_at() { # DIR [MODE]: autorun.sh and a stand-in menu
    mkdir -p "$1"
    cp "$medium/autorun.sh" "$1/"
    stand_in "$1/automenu" medium "${2:-755}"
}
newline="$places/disc
"
medium_at "$newline" 644                 # not executable: run from a private copy
medium_at "$places/-disc"
medium_at "$places/cd"
stand_in "$places/disc/automenu" decoy
stand_in "$places/automenu" decoy
stand_in "$places/elsewhere/cd/automenu" decoy
run_from() { # WHAT CDPATH DIR ARGS...: runs sh ARGS in DIR
    local what=$1 cdpath=$2 from=$3
    shift 3
    rm -f "$places/ran"
    (cd "$from" && CDPATH=$cdpath PATH="$bin:$PATH" XDG_RUNTIME_DIR=$E2E_WORK/runtime timeout 20 sh "$@" \
        >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err")
    e2e_expect_eq "$what: what ran" "medium" "$(cat "$places/ran" 2>/dev/null)"
    e2e_expect_eq "$what: copies left" "" "$(ls "$E2E_WORK/runtime")"
}
run_from "path ending in a newline" "" / "$newline/autorun.sh"
run_from "started inside it" "" "$newline" autorun.sh
run_from "relative path starting with -" "" "$places" -- -disc/autorun.sh
run_from "CDPATH set" "$places/elsewhere" "$places" cd/autorun.sh
