#!/usr/bin/env bash
# Checks a Debian package made by cpack: the files it installs and their
# modes, the compressed pages and changelog, the Windows menu's kind, its
# control fields and file times, that the installed tool runs (pack included)
# from where the package puts it, and lintian. One function per check.
# Usage: test_package.sh DEB|BUILD_DIR; a build folder without a package
# skips (status 77).
set -uo pipefail
deb=$1
if [ -d "$deb" ]; then
    debs=("$deb"/automenu_*.deb)
    [ -e "${debs[0]}" ] || { echo "no package in $deb: run cpack there first"; exit 77; }
    deb=${debs[0]}
fi
deb=$(realpath "$deb")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
. "$(dirname "$0")/../checks.sh"

dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb cannot unpack $deb"; exit 1; }

# Every file a user or pack needs, with the mode and owner it must have.
check_files() {
    local listing
    listing=$(dpkg-deb -c "$deb" | awk '{print $1, $2, $6}')
    local mode owner path
    while read -r mode owner path; do
        grep -qxF -- "$mode $owner ./$path" <<<"$listing" ||
            fail "$path: expected $mode $owner, package has: $(grep -F " ./$path" <<<"$listing" | head -1)"
    done <<'EOF'
-rwxr-xr-x root/root usr/bin/automenu
-rwxr-xr-x root/root usr/bin/automenu-tool
-rw-r--r-- root/root usr/share/automenu/automenu.exe
-rw-r--r-- root/root usr/share/automenu/automenu-licenses.txt
-rw-r--r-- root/root usr/share/man/man1/automenu.1.gz
-rw-r--r-- root/root usr/share/man/man1/automenu-tool.1.gz
-rw-r--r-- root/root usr/share/doc/automenu/copyright
-rw-r--r-- root/root usr/share/doc/automenu/changelog.gz
-rw-r--r-- root/root usr/share/lintian/overrides/automenu
-rw-r--r-- root/root usr/share/automenu/demo/AUTORUN.INF
-rw-r--r-- root/root usr/share/automenu/demo/BACKGROUND.BMP
-rwxr-xr-x root/root usr/share/automenu/demo/check-computer.sh
EOF
}

# Compressed as gzip -9n: no name and no time stamp in the header, so
# building twice gives the same package; the content is the source's.
check_compressed() {
    local gz source
    while read -r gz source; do
        local f=$root/$gz
        [ -f "$f" ] || continue  # check_files names it
        # Header bytes 3 to 7: the flags (FNAME is 0x08) and the time stamp.
        [ "$(od -An -tx1 -j3 -N5 "$f" | tr -d ' \n')" = 0000000000 ] ||
            fail "$gz carries a name or time stamp (not gzip -n)"
        cmp -s <(gzip -dc "$f") "$source_dir/$source" || fail "$gz is not $source"
    done <<'EOF'
usr/share/man/man1/automenu.1.gz doc/automenu.1
usr/share/man/man1/automenu-tool.1.gz doc/automenu-tool.1
usr/share/doc/automenu/changelog.gz packaging/debian/changelog
EOF
}

# The Windows menu is the 32-bit build, which runs on 32- and 64-bit Windows.
check_windows_menu() {
    local exe=$root/usr/share/automenu/automenu.exe
    [ -f "$exe" ] || return 0
    [ "$(head -c2 "$exe")" = MZ ] || { fail "automenu.exe is not a Windows program"; return; }
    local pe machine
    pe=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
    machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$exe" | tr -d ' ')
    [ "$machine" = 014c ] || fail "automenu.exe is built for machine 0x$machine, not 32-bit x86 (0x014c)"
}

check_control() {
    local maintainer depends recommends version want
    maintainer=$(dpkg-deb -f "$deb" Maintainer)
    depends=$(dpkg-deb -f "$deb" Depends)
    recommends=$(dpkg-deb -f "$deb" Recommends)
    version=$(dpkg-deb -f "$deb" Version)
    want=$(dpkg-parsechangelog -l "$source_dir/packaging/debian/changelog" -S Version)
    [[ "$maintainer" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$maintainer' is not 'Name <address>'"
    [[ "$maintainer" != *localhost* ]] || fail "Maintainer '$maintainer' is on localhost"
    [[ "$depends" == *libc6* && "$depends" == *libcairo2* ]] || fail "Depends '$depends' lacks libc6 or libcairo2"
    [[ "$recommends" == *fonts-noto-cjk* ]] || fail "Recommends '$recommends' names no font for Chinese, Japanese and Korean"
    [ "$version" = "$want" ] || fail "Version $version, the changelog's newest entry $want"
}

# Every file carries the time of the changelog's newest entry (or the
# builder's SOURCE_DATE_EPOCH), so building the same source again gives the
# same package.
check_timestamps() {
    local epoch want got
    epoch=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$source_dir/packaging/debian/changelog" -S Timestamp)}
    want=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M')
    got=$(TZ=UTC dpkg-deb -c "$deb" | awk '{print $4, $5}' | sort -u)
    [ "$got" = "$want" ] || fail "file times in the package: $(tr '\n' ',' <<<"$got") expected $want"
}

# The installed tool runs from the package's tree and reads the installed demo.
check_installed_tool() {
    local out
    out=$("$root/usr/bin/automenu-tool" check "$root/usr/share/automenu/demo" 2>&1) ||
        fail "automenu-tool check on the installed demo failed: $(tail -n 3 <<<"$out")"
}

# pack, run from the unpacked package, finds both menus where the package
# puts them and copies them onto the medium unchanged.
check_pack_finds_menus() {
    local medium=$work/medium out
    out=$("$root/usr/bin/automenu-tool" pack "$root/usr/share/automenu/demo" "$medium" 2>&1) ||
        { fail "pack from the installed tool failed: $(tail -n 3 <<<"$out")"; return; }
    cmp -s "$medium/automenu.exe" "$root/usr/share/automenu/automenu.exe" ||
        fail "pack did not copy the package's automenu.exe"
    cmp -s "$medium/automenu" "$root/usr/bin/automenu" || fail "pack did not copy the package's automenu"
    cmp -s "$medium/automenu-licenses.txt" "$root/usr/share/automenu/automenu-licenses.txt" ||
        fail "pack did not copy the package's licence notices"
}

# Any lintian error fails; warnings are shown. Overrides, each with its
# reason, are in the package.
check_lintian() {
    local out
    out=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges')
    [ -z "$out" ] || printf '%s\n' "$out"
    if grep -q '^E: ' <<<"$out"; then fail "lintian reports errors"; fi
}

check_files
check_compressed
check_windows_menu
check_control
check_timestamps
check_installed_tool
check_pack_finds_menus
check_lintian

checks_done
