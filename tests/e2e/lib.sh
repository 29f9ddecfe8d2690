# Helpers for end-to-end cases: start the menu in a folder, find its windows,
# move and click, take screenshots, dismiss message boxes.
# Environment: AUTOMENU_BIN (the menu program), AUTOMENU_SOURCE_DIR.

E2E_PIDS=()
E2E_WORK=$(mktemp -d)
E2E_OUT=${E2E_ARTIFACTS:-$E2E_WORK}

e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "${E2E_APP_PID:-}" ]; then
        echo "--- program output:" >&2
        cat "$E2E_WORK/app.out" "$E2E_WORK/app.err" >&2 2>/dev/null
    fi
    import -window root "$E2E_OUT/failure.png" 2>/dev/null && echo "screenshot: $E2E_OUT/failure.png" >&2
    exit 1
}

e2e_cleanup() {
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "${E2E_KEEP:-}" ] || rm -rf "$E2E_WORK"
}

e2e_start_wm() {
    # Up to 60 s by the clock: on a busy two-core machine openbox can take
    # half a minute, and each try costs more than its pause. An openbox that
    # ends before it is up is started once more; its words are kept.
    local until=$((SECONDS + 60)) tries=0 pid=
    while [ "$SECONDS" -lt "$until" ]; do
        if [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
            [ "$tries" -lt 2 ] || break
            openbox >>"$E2E_WORK/openbox.log" 2>&1 &
            pid=$!
            E2E_PIDS+=("$pid")
            tries=$((tries + 1))
        fi
        wmctrl -m >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    echo "openbox did not start ($tries tries, DISPLAY=${DISPLAY:-}):" >&2
    tail -n 5 "$E2E_WORK/openbox.log" >&2 2>/dev/null
    return 1
}

# e2e_start_weston RUNTIME SOCKET [ARG...]: starts weston as a window of the
# test's X server, listening on RUNTIME/SOCKET, on a black desktop without a
# panel; its pid goes to WESTON_PID. Returns once the socket is there.
e2e_start_weston() {
    local runtime=$1 socket=$2
    shift 2
    [ -d "$runtime" ] || mkdir -m 700 "$runtime"
    cat >"$E2E_WORK/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff000000
panel-position=none
locking=false
animation=none
startup-animation=none
INI
    XDG_RUNTIME_DIR=$runtime weston --config="$E2E_WORK/weston.ini" --backend=x11-backend.so \
        --socket="$socket" --use-pixman "$@" >"$E2E_WORK/weston-$socket.log" 2>&1 &
    WESTON_PID=$!
    E2E_PIDS+=("$WESTON_PID")
    for _ in $(seq 200); do
        [ -S "$runtime/$socket" ] && return 0
        sleep 0.05
    done
    echo "weston did not start: $(cat "$E2E_WORK/weston-$socket.log")" >&2
    return 1
}

# e2e_start DIR: starts the menu with DIR as its current directory.
e2e_start() {
    (cd "$1" && exec "$AUTOMENU_BIN" >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err") &
    E2E_APP_PID=$!
    E2E_PIDS+=("$E2E_APP_PID")
}

# e2e_wait_window NAME [SECONDS]: prints the id of the visible window named NAME.
e2e_wait_window() {
    local name=$1 tries=$(( ${2:-10} * 20 )) wid
    for _ in $(seq "$tries"); do
        wid=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -1)
        if [ -n "$wid" ]; then echo "$wid"; return 0; fi
        sleep 0.05
    done
    return 1
}

# e2e_geometry WID: prints "X Y W H" of the client area in screen coordinates.
e2e_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# e2e_frame WID: prints "LEFT RIGHT TOP BOTTOM" of the window manager's frame.
e2e_frame() {
    xprop -id "$1" _NET_FRAME_EXTENTS | sed -E 's/.*= ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+)/\1 \2 \3 \4/'
}

# e2e_wait_exit [SECONDS]: waits for the menu to end; its exit status goes
# to E2E_STATUS. (Not for $(...): only this shell can wait for its children.)
e2e_wait_exit() {
    local tries=$(( ${1:-10} * 20 ))
    for _ in $(seq "$tries"); do
        if ! kill -0 "$E2E_APP_PID" 2>/dev/null; then
            wait "$E2E_APP_PID"
            E2E_STATUS=$?
            return 0
        fi
        sleep 0.05
    done
    return 1
}

# e2e_mouse WID X Y: moves the pointer to client coordinates of WID.
e2e_mouse() {
    read -r gx gy _ _ < <(e2e_geometry "$1")
    xdotool mousemove $((gx + $2)) $((gy + $3))
    sleep 0.15
}

e2e_click() { xdotool click 1; sleep 0.2; }

e2e_screenshot() { import -window root "$1"; }

# e2e_dismiss_box CAPTION: presses OK (Return) on the message box with that
# caption. The box is found through the window manager: its name is set in a
# way xdotool's search does not see.
e2e_dismiss_box() {
    local id=""
    for _ in $(seq 200); do
        id=$(wmctrl -l | awk -v c="$1" '{t=$4; for (i = 5; i <= NF; i++) t = t " " $i} t == c {print $1; exit}')
        [ -n "$id" ] && break
        sleep 0.05
    done
    [ -n "$id" ] || return 1
    wmctrl -i -a "$id"
    sleep 0.3
    xdotool key Return
}

# e2e_client_shot WID FILE: a screenshot of the window's client area.
e2e_client_shot() {
    read -r gx gy gw gh < <(e2e_geometry "$1")
    import -window root -crop "${gw}x${gh}+${gx}+${gy}" +repage "$2"
}

# e2e_count_colour FILE X Y W H COLOUR [FUZZ%]: pixels of that colour in a region.
e2e_count_colour() {
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -fuzz "${7:-25}%" -fill black +opaque "$6" \
        -fill white -opaque "$6" -format '%[fx:round(mean*w*h)]' info:
}

# e2e_differing FUZZ A B NAME: the number of pixels that differ by more than
# FUZZ in the area both pictures cover (the crops are kept as NAME-a.png and
# NAME-b.png beside the test's pictures).
e2e_differing() {
    local w h
    w=$(( $(identify -format %w "$2") < $(identify -format %w "$3") ? $(identify -format %w "$2") : $(identify -format %w "$3") ))
    h=$(( $(identify -format %h "$2") < $(identify -format %h "$3") ? $(identify -format %h "$2") : $(identify -format %h "$3") ))
    convert "$2" -crop "${w}x${h}+0+0" +repage "$E2E_OUT/$4-a.png"
    convert "$3" -crop "${w}x${h}+0+0" +repage "$E2E_OUT/$4-b.png"
    compare -metric AE -fuzz "$1" "$E2E_OUT/$4-a.png" "$E2E_OUT/$4-b.png" null: 2>&1
}

# e2e_label_looks PREFIX COLOUR BOLD SIZE: the First and Second Font keys of
# a label, in COLOUR normally and yellow and underlined when hovered.
e2e_label_looks() {
    local look colour underline
    while read -r look colour underline; do
        printf '%s\n' "$1 $look Font Name=Arial" "$1 $look Font Color=$colour" \
            "$1 $look Font Style Bold Use=$3" "$1 $look Font Style Italic Use=NO" \
            "$1 $look Font Style Underline Use=$underline" "$1 $look Font Size=$4"
    done <<<"First $2 NO"$'\n'"Second clYellow YES"
}

# e2e_accessible_autorun DIR CAPTION-OF-ENTRY-2 PATH-1 PATH-2: a 400 x 300
# menu whose labels a screen reader lists: a title, one text line, entries 1
# ("&Install") and 2 opening PATH-1 and PATH-2, and an exit entry ("Leave").
e2e_accessible_autorun() {
    entry() {  # entry N CAPTION TOP PATH
        local k="Installation Message Label $1"
        printf '%s\n' "[$k Font Setup]" "$k Caption=$2" "$k Font Top=$3" "$k Font Left=40" "$k File Path=$4"
        e2e_label_looks "$k" clBlack NO 10
    }
    {
        printf '%s\n' "[Installation Form Size Setup]" "Form Height=300" "Form Width=400" \
            "[Title Message Label Setup]" "Title Message Label Use=YES" "Title Message Label Caption=Welcome" \
            "Title Message Label Top=10" "Title Message Label Left=40" \
            "[Normal Message Label Count Setup]" "Normal Message Label Count=1" \
            "[Normal Message Label 1 Font Setup]" "Normal Message Label 1 Caption=Read me first" \
            "Normal Message Label 1 Font Top=60" "Normal Message Label 1 Font Left=40" \
            "[Exit Label Setup]" "Exit Label Use=YES" "Exit Label Caption=Leave" "Exit Label Top=240" \
            "Exit Label Left=300" "[Installation Message Label Count Setup]" "Installation Message Label Count=2"
        entry 1 "&Install" 100 "$3"
        entry 2 "$2" 140 "$4"
    } | sed 's/$/\r/' >"$1/AUTORUN.INF"
}

# e2e_form_640: the sections of a 640 x 480 window filled by BACKGROUND.BMP
# (the demo's picture, copied beside AUTORUN.INF).
e2e_form_640() {
    cat <<'INF'
[Installation Form Size Setup]
Form Height=480
Form Width=640

[BackGround Image File Setup]
BackGround Image Use=YES
BackGround Image Path=NOW
BackGround Image Name=BACKGROUND.BMP
BackGround Image Height=480
BackGround Image Width=640
BackGround Image Top=0
BackGround Image Left=0

INF
}

e2e_expect_eq() {  # e2e_expect_eq WHAT EXPECTED ACTUAL
    [ "$2" = "$3" ] || e2e_fail "$1: expected '$2', got '$3'"
}
