#!/usr/bin/env bash
# Builds the Debian package tooldesk_VERSION_amd64.deb from a build folder
# and checks it with lintian:
#   scripts/make-deb.sh [BUILD_DIR [OUT_DIR]]
# BUILD_DIR (default build-deb) is configured and built in Release when it
# holds no build yet; OUT_DIR (default the source folder) receives the .deb.
# The dependencies are those dpkg-shlibdeps finds in the binaries, plus what
# the program loads itself: libzip (at the first act), the Qt SQLite driver
# and xdg-utils (xdg-open shows acts and reports).
set -euo pipefail
trap 'echo "make-deb: failed at line $LINENO" >&2' ERR
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$src/build-deb}")
out=$(realpath -m "${2:-$src}")

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOOLDESK_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target tooldesk tooldesk_print delivered_data
# shellcheck source=/dev/null
. "$build/packaging.env"

stage=$(mktemp -d /tmp/tooldesk-deb.XXXXXX)
trap 'rm -rf "$stage"' EXIT
root="$stage/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr --strip >/dev/null
chmod -R u=rwX,go=rX "$root"
chmod 0755 "$root/usr/bin/tooldesk"

# Documentation as Debian wants it: the copyright file from LICENSE, a
# changelog and the manual page compressed.
doc="$root/usr/share/doc/tooldesk"
mkdir -p "$doc"
{
    echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
    echo "Upstream-Name: tooldesk"
    echo
    echo "Files: *"
    echo "Copyright: 2026 The tooldesk developers"
    echo "License: Expat"
    echo
    echo "License: Expat"
    sed -e '1,/^Permission/{/^Permission/!d}' -e 's/^$/./' -e 's/^/ /' "$src/LICENSE"
} >"$doc/copyright"
when=$(git -C "$src" log -1 --format=%cD 2>/dev/null || date -R)
# The maintainer: TOOLDESK_MAINTAINER, else the author of the commit built.
maintainer=${TOOLDESK_MAINTAINER:-$(git -C "$src" log -1 --format='%an <%ae>' 2>/dev/null ||
    echo 'tooldesk developers <tooldesk@example.org>')}
printf 'tooldesk (%s) stable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' \
    "$TOOLDESK_VERSION" "$TOOLDESK_VERSION" "$maintainer" "$when" | gzip -9n >"$doc/changelog.gz"
gzip -9n "$root/usr/share/man/man1/tooldesk.1"
chmod 0644 "$doc/copyright" "$doc/changelog.gz" "$root/usr/share/man/man1/tooldesk.1.gz"

# Dependencies from the binaries; dpkg-shlibdeps reads a debian/control.
mkdir -p "$stage/debian"
printf 'Source: tooldesk\n\nPackage: tooldesk\nArchitecture: amd64\n' >"$stage/debian/control"
shlibs=$(cd "$stage" && dpkg-shlibdeps -O -e root/usr/bin/tooldesk -e root/usr/lib/tooldesk/libtooldesk_print.so 2>/dev/null |
    sed -n 's/^shlibs:Depends=//p')
# (No early exit in the readers: pipefail would report the writer's broken pipe.)
libzip_file=$(ldconfig -p | awk -v name="$TOOLDESK_LIBZIP_SONAME" '$1 == name && /x86-64/ && !n++ {print $NF}')
# By its file's name: with merged /usr the loader's path is not the one dpkg lists.
libzip_package=$(dpkg -S "*/$(basename "$(readlink -f "$libzip_file")")" 2>/dev/null | awk -F: 'NR == 1 {print $1}')
[ -n "$libzip_package" ] || { echo "make-deb: no package holds $TOOLDESK_LIBZIP_SONAME" >&2; exit 1; }

mkdir -p "$root/DEBIAN"
size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
cat >"$root/DEBIAN/control" <<CONTROL
Package: tooldesk
Version: $TOOLDESK_VERSION
Architecture: amd64
Maintainer: $maintainer
Installed-Size: $size
Depends: $shlibs, $libzip_package, libqt6sql6-sqlite, xdg-utils
Recommends: libreoffice-writer, libqt6sql6-psql, gstreamer1.0-plugins-good
Suggests: postgresql-client
Section: misc
Priority: optional
Description: issue desk of a tool store
 A storekeeper scans a worker's badge and a tool's code into one entry box,
 in either order: the program issues the tool to the worker, or takes it
 back when it is out, and keeps the journal. It also keeps the registers of
 tools and workers with their photos, write-off acts as Word documents,
 reports and barcode labels as PDF, in Russian or English.
 .
 Each user works on ~/.local/share/tooldesk/Data, made from the installed
 template at the first start; --data DIR names a folder shared by several
 accounts, and a PostgreSQL database serves several computers.
CONTROL
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

mkdir -p "$out"
deb="$out/tooldesk_${TOOLDESK_VERSION}_amd64.deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
# Errors fail the build; warnings are shown.
lintian --fail-on error --suppress-tags-from-file /dev/null "$deb"
