#!/usr/bin/env bash
# Makes the release files in OUT (default build/release/):
#   automenu-VERSION-linux-x86_64.tar.gz  the portable Linux programs, their
#       man pages and the 32-bit Windows menu that pack puts on a medium
#   automenu-VERSION-windows.zip          the Windows programs, the Linux menu for
#       pack, README, licences
#   automenu_VERSION_amd64.deb            the Debian package
#   SHA256SUMS                            the checksums of the three
# It builds what is missing first (build/, build-windows/, build-windows32/).
# The archives hold their files in name order, owned by root, with the time
# of the changelog's newest entry, as the package does (SOURCE_DATE_EPOCH
# when set): the same programs give the same bytes.
# Usage: scripts/release.sh [OUT]   (OUT: build/release when not given)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cd "$source_dir"
out=$(mkdir -p "${1:-build/release}" && cd "${1:-build/release}" && pwd)
jobs=${JOBS:-$(nproc)}
version=$(sed -nE 's/^project\(automenu VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release.sh: no version in CMakeLists.txt" >&2; exit 1; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l packaging/debian/changelog -S Timestamp)}

build_windows() {  # build_windows DIR TOOLCHAIN
    cmake -S . -B "$1" --toolchain "cmake/mingw-w64-$2.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$1" -j"$jobs" >/dev/null
}
build_windows build-windows32 i686
build_windows build-windows x86_64
cmake -S . -B build -DAUTOMENU_WINDOWS_MENU="$source_dir/build-windows32/automenu.exe" >/dev/null
cmake --build build -j"$jobs" >/dev/null

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# The Debian package, as cpack makes it.
rm -f build/automenu_*.deb
(cd build && cpack >/dev/null)
debs=(build/automenu_*.deb)
cp "${debs[0]}" "$out/"

# Linux: the installed tree, stripped, with the licence texts on top; pack
# finds the Windows menu in share/automenu beside bin/.
linux=automenu-$version-linux-x86_64
DESTDIR="$stage/root" cmake --install build --prefix "/$linux" --strip >/dev/null
cp LICENSE "$stage/root/$linux/LICENSE"
cp packaging/debian/copyright "$stage/root/$linux/THIRD-PARTY-NOTICES"
rm -rf "$stage/root/$linux/share/lintian"
tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --mode=u+rw,go-w,go+r -C "$stage/root" -cf - "$linux" | gzip -9n >"$out/$linux.tar.gz"

# Windows: the programs with texts Notepad shows (CRLF line ends).
windows=automenu-$version-windows
mkdir -p "$stage/$windows"
cp build-windows32/automenu.exe "$stage/$windows/"
cp build-windows/automenu-tool.exe "$stage/$windows/"
# The Linux menu beside the tool, so that pack on Windows makes a medium
# that starts on Linux too.
cp "$stage/root/$linux/bin/automenu" "$stage/$windows/"
sed 's/$/\r/' README.md >"$stage/$windows/README.txt"
sed 's/$/\r/' LICENSE >"$stage/$windows/LICENSE.txt"
# The notices pack puts on a medium cover what the zip carries.
cp build/automenu-licenses.txt "$stage/$windows/"
python3 - "$stage" "$windows" "$out/$windows.zip" <<'PY'
import os, sys, time, zipfile
stage, top, target = sys.argv[1:]
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
with zipfile.ZipFile(target + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for name in sorted(os.listdir(os.path.join(stage, top))):
        entry = zipfile.ZipInfo(f"{top}/{name}", stamp)
        entry.external_attr = (0o100755 if name == "automenu" else 0o100644) << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, top, name), "rb") as f:
            archive.writestr(entry, f.read())
os.replace(target + ".part", target)
PY

(cd "$out" && sha256sum "$linux.tar.gz" "$windows.zip" "$(basename "${debs[0]}")" >SHA256SUMS)
echo "release files in $out:"
(cd "$out" && ls -l "$linux.tar.gz" "$windows.zip" "$(basename "${debs[0]}")" SHA256SUMS)
