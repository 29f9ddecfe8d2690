#!/usr/bin/env bash
# Checks that Linux programs start on a stock desktop: every symbol version
# they ask for is old enough and every shared library they need is one that
# every default desktop install has. Names each offender and fails.
# Usage: check-runtime-needs.sh PROGRAM...
set -uo pipefail

# The newest version of each family the oldest supported systems have:
# glibc 2.34 (Ubuntu 22.04, RHEL 9, Debian 12), libgcc_s of GCC 11 and
# libxkbcommon 1.0 (RHEL 9); libpng 1.6 has the one version PNG16_0. A
# family not listed belongs to a library that must be linked in.
readonly -A NEWEST_VERSION=([GLIBC]=2.34 [GCC]=7.0.0 [V]=1.0.0 [PNG16]=0)

# The shared libraries allowed: glibc's; GCC's unwinder; cairo, pango and
# what they are built on (libpng 1.6 among them: cairo reads and writes PNG
# with it); the X11 and Wayland client libraries, which GTK 3 is
# linked with, so every desktop has them. Neither SDL2 nor libstdc++ (older on
# RHEL 9 than GCC 12's) may be here: they are linked in.
allowed=(
    libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 librt.so.1 ld-linux-x86-64.so.2
    libgcc_s.so.1
    libcairo.so.2 libpango-1.0.so.0 libpangocairo-1.0.so.0 libpangoft2-1.0.so.0
    libgobject-2.0.so.0 libglib-2.0.so.0 libfontconfig.so.1 libfreetype.so.6 libharfbuzz.so.0 libpng16.so.16
    libX11.so.6 libXext.so.6 libXcursor.so.1 libXi.so.6 libXfixes.so.3 libXrandr.so.2
    libxkbcommon.so.0 libwayland-client.so.0 libwayland-cursor.so.0 libwayland-egl.so.1
)
readonly ALLOWED_LIBRARIES=" ${allowed[*]} "

version_le() { [ "$(printf '%s\n%s\n' "$1" "$2" | sort -V | head -1)" = "$1" ]; }

failed=0
for program in "$@"; do
    name=$(basename "$program")
    headers=$(objdump -p "$program") && symbols=$(objdump -T "$program") || {
        echo "$name: objdump cannot read it" >&2; failed=1; continue
    }
    offences=()
    # Version References: "  required from libc.so.6:" then
    # "    0x069691b4 0x00 05 GLIBC_2.34" for each version.
    while read -r library version; do
        # A library that is not allowed at all is named once, below.
        [[ "$ALLOWED_LIBRARIES" == *" $library "* ]] || continue
        family=${version%_*}
        newest=${NEWEST_VERSION[$family]:-}
        if [ -n "$newest" ] && version_le "${version##*_}" "$newest"; then continue; fi
        # The symbols asking for it, as objdump -T shows them: "(GLIBC_2.35) hypot".
        users=$(awk -v v="$version" 'NF > 2 && ($(NF-1) == v || $(NF-1) == "(" v ")") { print $NF }' <<<"$symbols" |
            sort -u | head -5)
        if [ -n "$newest" ]; then
            offences+=("$version of $library, newer than ${family}_$newest (symbols of that version: $(echo $users))")
        else
            offences+=("$version of $library, a version family not known to be old enough (symbols of that version: $(echo $users))")
        fi
    done < <(awk '/^Version References:/ { refs = 1; next }
                  refs && $1 == "required" { library = $3; sub(/:$/, "", library); next }
                  refs && $1 ~ /^0x/ { print library, $4; next }
                  refs && NF == 0 { refs = 0 }' <<<"$headers")

    needed=$(awk '$1 == "NEEDED" { print $2 }' <<<"$headers")
    [ -n "$needed" ] || offences+=("no NEEDED entries: not a dynamically linked program")
    for library in $needed; do
        [[ "$ALLOWED_LIBRARIES" == *" $library "* ]] || offences+=("$library, which a desktop may lack")
    done

    if [ ${#offences[@]} -eq 0 ]; then
        echo "$name: ok; needs $(echo $needed)"
    else
        printf "$name needs %s\n" "${offences[@]}" >&2
        failed=1
    fi
done
exit "$failed"
