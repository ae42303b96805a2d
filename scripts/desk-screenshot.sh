#!/usr/bin/env bash
# Takes a screenshot of the desk with one recorded issue: the real program
# under Xvfb on a sample Data folder, codes typed as a scanner types them.
# Usage: scripts/desk-screenshot.sh BUILD_DIR OUTPUT.png
set -euo pipefail
build=$(realpath "$1")
out=$(realpath -m "$2")
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$build/tooldesk" "$work/"
cp -r "$build/dist/Data" "$work/Data"
"$build/dist/make_database" --sample "$work/Data/DB.mdb"
# Keep the last pair on the panels, and show the time of each event.
sed -i -e 's/^ClearCheckBox=.*/ClearCheckBox=0/' -e 's/^ShowTime=.*/ShowTime=1/' -e 's/^PlaySound=.*/PlaySound=0/' "$work/Data/Config.ini"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x720x24 -nolisten tcp &
export DISPLAY=$display
sleep 1
(cd "$work" && ./tooldesk) &
sleep 3
# A database of an older layout asks for OK to its upgrade first; then the
# administrator signs in.
if ! xdotool search --onlyvisible --name "Авторизация" >/dev/null; then
    xdotool key Return
    sleep 2
fi
login=$(xdotool search --onlyvisible --name "Авторизация" | head -n 1)
xdotool windowfocus --sync "$login" 2>/dev/null || true
xdotool type --delay 20 admin
xdotool key Return
sleep 2
win=$(xdotool search --onlyvisible --name "Выдача инструмента" | head -n 1)
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
for code in U001 T001 U002 T002 U001 T001 U001 T003; do
    xdotool type --delay 20 "$code"
    xdotool key Return
    sleep 0.5
done
sleep 1
import -window "$win" "$out"
echo "screenshot: $out"
