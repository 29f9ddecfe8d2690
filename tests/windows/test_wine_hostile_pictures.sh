# Metafiles made to hurt, as the background picture: each menu shows its
# window, and a close request ends it. Given to GDI as they are, some spun
# for minutes (and did not answer the close), some crashed it inside GDI,
# some took gigabytes; the menu now gives GDI only what its own playback
# draws within its budget and range.
cases="emf-huge-ellipse emf-huge-transform emf-object-index emf-path-300k emf-pattern-brushes emf-polygon-200k
       emf-polygon-flat-200k emf-polyline-2m emf-stretchdibits emf-text-count emf-wide-pen wmf-huge-font
       wmf-object-flood wmf-polygon-16k wmf-window-extent"
python3 "$AUTOMENU_SOURCE_DIR/bench/hostile/make-hostile.py" "$E2E_WORK/cases" $cases >/dev/null ||
    e2e_fail "cannot write the hostile files"
for name in $cases; do
    e2e_start "$E2E_WORK/cases/$name"
    wid=$(e2e_wait_window Installation 60) || e2e_fail "$name: no menu window"
    sleep 1
    wmctrl -i -c "$wid"
    e2e_wait_exit 30 || e2e_fail "$name: the close request did not end the program"
    e2e_expect_eq "$name: exit status" 0 "$E2E_STATUS"
    echo "$name: ok"
done
echo ok
