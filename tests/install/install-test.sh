#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR with the prefix /usr, checks
# what lands where, and runs the installed program from there as a user of
# the installed package would: --help, --version, the first start making the
# user's Data folder from the template, a report, and the print preview
# through the installed module; the menu entry and the metainfo validated.
#   install-test.sh BUILD_DIR PROBE
set -euo pipefail
# (Outputs are read whole before grep: grep -q ending a pipe early would
# make pipefail report the writer's broken pipe.)
build=$1
probe=$2
tmp=$(mktemp -d /tmp/tooldesk-install.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
expect() { # expect WHAT COMMAND...: the command succeeds
    local what=$1; shift
    "$@" || fail "$what"
}

dest="$tmp/dest"
DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
usr="$dest/usr"
id=org.tooldesk.ToolDesk

for f in bin/tooldesk lib/tooldesk/libtooldesk_print.so \
    share/tooldesk/Data/DB.mdb share/tooldesk/Data/Config.ini share/tooldesk/Data/sound.mp3 \
    share/tooldesk/Data/T.bmp share/tooldesk/Data/U.bmp \
    share/tooldesk/Data/Templates/AKT_RU.docx share/tooldesk/Data/Templates/AKT_EN.docx \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/man/man1/tooldesk.1; do
    [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
done
[ -x "$usr/bin/tooldesk" ] || fail "/usr/bin/tooldesk is not executable"
# Each PNG is as large as its folder says (width and height from its header).
for size in 16 24 32 48 64 128 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$png" ] || fail "not installed: $png"
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4, $7*256+$8}')
    [ "$w $h" = "$size $size" ] || fail "$png is ${w}x${h}"
done
# Nothing of the build machine: no search path into the build folder.
if readelf -d "$usr/bin/tooldesk" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
    fail "the installed program searches the build folder for libraries"
fi
if grep -qF "$(realpath "$build")" "$usr/bin/tooldesk"; then
    fail "the installed program holds the build folder's path"
fi

expect "desktop-file-validate" desktop-file-validate "$usr/share/applications/$id.desktop"
grep -qx "Exec=tooldesk" "$usr/share/applications/$id.desktop" || fail "the menu entry does not start tooldesk"
grep -qx "Icon=$id" "$usr/share/applications/$id.desktop" || fail "the menu entry names another icon"
expect "appstreamcli validate" appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"
grep -q "<metadata_license>CC0-1.0</metadata_license>" "$usr/share/metainfo/$id.metainfo.xml" ||
    fail "metadata_license"
grep -q "<project_license>MIT</project_license>" "$usr/share/metainfo/$id.metainfo.xml" || fail "project_license"
man --warnings -l "$usr/share/man/man1/tooldesk.1" >/dev/null 2>"$tmp/man.err" || true
[ ! -s "$tmp/man.err" ] || fail "the manual page: $(cat "$tmp/man.err")"

# Run as an installed program: no Data folder beside it, a fresh home.
export HOME="$tmp/home" XDG_DATA_HOME="$tmp/xdg" QT_QPA_PLATFORM=offscreen
unset TOOLDESK_DATA TOOLDESK_PRINT_MODULE
export XDG_RUNTIME_DIR="$tmp/run"
mkdir -p "$HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"
user_data="$XDG_DATA_HOME/tooldesk/Data"
program="$usr/bin/tooldesk"

help=$("$program" --help) || fail "--help"
grep -qF "Data folder in use: $user_data (the user's; made from $usr/share/tooldesk/Data" <<<"$help" ||
    fail "--help does not name the user's Data folder: $help"
# The manual page names every option --help names.
for option in $(grep -oE -- '(^|  )--?[a-z][a-z-]+' <<<"$help" | tr -d ' ' | sort -u); do
    grep -qF -- "$(sed 's/-/\\-/g' <<<"$option")" "$usr/share/man/man1/tooldesk.1" ||
        fail "the manual page lacks $option"
done
version=$("$program" --version) || fail "--version"
grep -qE '^tooldesk [0-9]+\.[0-9]+\.[0-9]+ \(commit ' <<<"$version" || fail "--version: $version"
[ ! -e "$user_data" ] || fail "--help or --version made the Data folder"

# First start: the report's run makes the user's folder from the template.
expect "a report on the first start" "$program" --report inventory --pdf "$tmp/inventory.pdf" >/dev/null
[ -s "$tmp/inventory.pdf" ] || fail "no report written"
diff -r "$usr/share/tooldesk/Data" "$user_data" >/dev/null || fail "the user's Data folder differs from the template"
[ -z "$(find "$XDG_DATA_HOME/tooldesk" -mindepth 1 -maxdepth 1 ! -name Data)" ] ||
    fail "something beside the Data folder was left: $(ls -A "$XDG_DATA_HOME/tooldesk")"
# Never overwritten: the next start keeps what the user changed.
echo "; the user's" >>"$user_data/Config.ini"
cp "$user_data/Config.ini" "$tmp/Config.ini"
expect "a second start" "$program" --backup "$tmp/backup.mdb" >/dev/null
cmp -s "$user_data/Config.ini" "$tmp/Config.ini" || fail "the second start changed Config.ini"

# --data and TOOLDESK_DATA name another folder; a missing one is refused.
cp -r "$usr/share/tooldesk/Data" "$tmp/shared"
expect "--data" "$program" --data "$tmp/shared" --backup "$tmp/shared.mdb" >/dev/null
[ -s "$tmp/shared.mdb" ] || fail "--data: no backup"
help=$(TOOLDESK_DATA="$tmp/shared" "$program" --help) || fail "--help with TOOLDESK_DATA"
grep -qF "Data folder in use: $tmp/shared (TOOLDESK_DATA)" <<<"$help" || fail "TOOLDESK_DATA: $help"
status=0
"$program" --data "$tmp/nowhere" --backup "$tmp/x.mdb" 2>"$tmp/err" >/dev/null || status=$?
[ "$status" = 1 ] || fail "--data on a missing folder ended with $status"
grep -qF "$tmp/nowhere" "$tmp/err" || fail "the missing folder is not named: $(cat "$tmp/err")"
[ ! -e "$tmp/nowhere" ] || fail "--data made a missing folder"

# The print preview through the installed module, found from bin/ only.
cp "$probe" "$usr/bin/"
probe_installed="$usr/bin/$(basename "$probe")"
said=$("$probe_installed" 2>"$tmp/probe.err") || true
[ "$said" = painted ] || fail "the installed print module did not paint a report: $said $(cat "$tmp/probe.err")"
mv "$usr/lib/tooldesk" "$tmp/moved"
if "$probe_installed" >/dev/null 2>&1; then
    fail "the print module was found outside the installed tree"
fi
echo "installed program OK"
