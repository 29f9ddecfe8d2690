#!/usr/bin/env bash
# Checks the release files scripts/release.sh makes: their checksums, the
# archives' file lists, modes, owners and times, and that an author can work
# from each archive unpacked into an empty folder (template, check, pack).
# Usage: test_release.sh RELEASE_DIR; a folder without release files skips
# (status 77).
set -uo pipefail
dir=$(realpath "$1" 2>/dev/null) || { echo "no release folder $1: run scripts/release.sh"; exit 77; }
tars=("$dir"/automenu-*-linux-x86_64.tar.gz)
zips=("$dir"/automenu-*-windows.zip)
[ -e "${tars[0]}" ] && [ -e "${zips[0]}" ] || { echo "no release archives in $dir: run scripts/release.sh"; exit 77; }
tarball=${tars[0]} zip=${zips[0]}
linux=$(basename "$tarball" .tar.gz) windows=$(basename "$zip" .zip)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../checks.sh"

check_sums() {
    (cd "$dir" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
    [ "$(wc -l <"$dir/SHA256SUMS")" -eq 3 ] || fail "SHA256SUMS should name 3 files"
}

# Every file with its mode; owners root; one time for all; no gzip time.
check_tarball_listing() {
    local listing
    listing=$(tar -tvzf "$tarball" --numeric-owner)
    while read -r mode path; do
        grep -qE "^$mode 0/0 .* $linux/$path\$" <<<"$listing" ||
            fail "$path: expected $mode 0/0 in the tarball, it has: $(grep -F "/$path" <<<"$listing" | head -1)"
    done <<'EOF2'
-rwxr-xr-x bin/automenu
-rwxr-xr-x bin/automenu-tool
-rw-r--r-- share/automenu/automenu.exe
-rw-r--r-- share/automenu/automenu-licenses.txt
-rw-r--r-- share/man/man1/automenu.1.gz
-rw-r--r-- share/man/man1/automenu-tool.1.gz
-rw-r--r-- LICENSE
-rw-r--r-- THIRD-PARTY-NOTICES
EOF2
    [ "$(awk '{print $4, $5}' <<<"$listing" | sort -u | wc -l)" -eq 1 ] || fail "the tarball's files have more than one time"
    [ "$(od -An -tu4 -j4 -N4 "$tarball" | tr -d ' ')" = 0 ] || fail "the gzip header carries a time"
}

check_zip_listing() {
    python3 - "$zip" "$windows" <<'PY' || fail "the zip's listing is wrong"
import sys, zipfile
archive, top = zipfile.ZipFile(sys.argv[1]), sys.argv[2]
names = archive.namelist()
want = {f"{top}/{n}" for n in ("automenu.exe", "automenu-tool.exe", "automenu", "README.txt", "LICENSE.txt",
                                "automenu-licenses.txt")}
missing = want - set(names)
assert not missing, f"missing {sorted(missing)}"
assert names == sorted(names), "not in name order"
assert len({i.date_time for i in archive.infolist()}) == 1, "more than one time"
exe = archive.read(f"{top}/automenu.exe")
pe = int.from_bytes(exe[0x3C:0x40], "little")
assert exe[:2] == b"MZ" and exe[pe:pe + 6] == b"PE\0\0\x4c\x01", "automenu.exe is not a 32-bit Windows program"
assert b"\r\n" in archive.read(f"{top}/README.txt"), "README.txt has no CRLF line ends"
PY
}

# template, check and pack from the unpacked tarball, as its README says.
check_tarball_works() {
    mkdir -p "$work/linux" && tar -xzf "$tarball" -C "$work/linux" || { fail "the tarball does not unpack"; return; }
    local tool=$work/linux/$linux/bin/automenu-tool out
    "$tool" template "$work/menu" >/dev/null || { fail "template failed"; return; }
    out=$("$tool" check "$work/menu" 2>&1) || fail "check of the template failed: $out"
    grep -qx "0 errors, 0 warnings" <<<"$out" || fail "check of the template: $(tail -1 <<<"$out")"
    "$tool" pack "$work/menu" "$work/medium" >"$work/pack.log" 2>&1 || { fail "pack failed: $(cat "$work/pack.log")"; return; }
    cmp -s "$work/medium/automenu.exe" "$work/linux/$linux/share/automenu/automenu.exe" ||
        fail "pack did not put the archive's Windows menu on the medium"
    [ -x "$work/medium/automenu" ] || fail "pack did not put the Linux menu on the medium"
    [ -s "$work/medium/automenu-licenses.txt" ] || fail "pack did not put the notices on the medium"
}

# The same three commands from the unpacked zip, as a Windows author runs
# them, under Wine (Z: is the root of this machine's files).
check_zip_works() {
    command -v wine >/dev/null || { echo "note: no wine, the zip's tool is not run"; return; }
    mkdir -p "$work/windows" && (cd "$work/windows" && python3 -m zipfile -e "$zip" .) ||
        { fail "the zip does not unpack"; return; }
    local tool=$work/windows/$windows/automenu-tool.exe
    [ -f "$tool" ] || { fail "the zip carries no automenu-tool.exe"; return; }
    export WINEPREFIX=${WINEPREFIX:-$source_dir/build-windows/wineprefix} WINEDEBUG=-all
    local menu medium
    menu=$(winepath -w "$work/wmenu") medium=$(winepath -w "$work/wmedium")
    wine "$tool" template "$menu" >/dev/null 2>&1 || { fail "template failed under Wine"; return; }
    wine "$tool" check "$menu" >"$work/wcheck.log" 2>&1 ||
        fail "check of the template failed under Wine: $(tail -3 "$work/wcheck.log")"
    tr -d '\r' <"$work/wcheck.log" | grep -qx "0 errors, 0 warnings" ||
        fail "check of the template under Wine: $(tail -1 "$work/wcheck.log")"
    wine "$tool" pack "$menu" "$medium" >"$work/wpack.log" 2>&1 ||
        { fail "pack failed under Wine: $(tail -3 "$work/wpack.log")"; return; }
    cmp -s "$work/wmedium/automenu.exe" "$work/windows/$windows/automenu.exe" ||
        fail "pack under Wine did not put the zip's menu on the medium"
    cmp -s "$work/wmedium/automenu" "$work/windows/$windows/automenu" ||
        fail "pack under Wine did not put the zip's Linux menu on the medium"
    [ -s "$work/wmedium/automenu-licenses.txt" ] || fail "pack under Wine did not put the notices on the medium"
}

check_sums
check_tarball_listing
check_zip_listing
check_tarball_works
check_zip_works
checks_done
