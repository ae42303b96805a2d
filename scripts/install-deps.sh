#!/usr/bin/env bash
# Installs the Debian 12 packages the program needs to build, run and test,
# only those that are missing. The sqlite3 shell checks in the tests that
# the database file opens in the standard tools; the PostgreSQL server runs
# the tests' private server, its Qt driver serves stores with several desks.
# fonts-symbola draws the emoji and symbols Arial lacks in PDF reports.
# Zint encodes the label symbols; the label tests read them back with
# ZXing-C++ and zbarimg. The import tests read workbooks LibreOffice Calc
# writes; the import benchmark writes its workbook with libxlsxwriter.
# The windowed LibreOffice opens the write-off acts and reports through
# xdg-open (and converts them headless in the tests); dpkg-dev, fakeroot,
# lintian, desktop-file-utils, appstream and man-db build and check the
# Debian package, its menu entry, metainfo and manual page.
set -euo pipefail
packages=(
    g++ cmake ninja-build pkg-config clang-format
    qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql postgresql-15 qt6-multimedia-dev gstreamer1.0-plugins-good qt6-translations-l10n
    libsqlite3-dev sqlite3 libjpeg62-turbo-dev libzip-dev zipcmp zipmerge ziptool libpugixml-dev libx11-dev
    fonts-liberation2 fonts-dejavu fonts-symbola
    libreoffice-writer libreoffice-calc xdg-utils poppler-utils
    libzint-dev libzxing-dev zbar-tools
    dpkg-dev fakeroot lintian desktop-file-utils appstream man-db
    libxlsxwriter-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
