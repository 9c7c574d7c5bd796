#!/usr/bin/env bash
# Pictures of the running Windows program on a virtual X screen: as it opens (main.png), and
# after a real mouse click on Scan has walked the whole C: drive (scan-done.png).
# Usage: screenshot.sh OUTPUT_FOLDER  (after building build/mingw)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
output="$(realpath -m "$1")"
# Where the Scan button lies on the screen: the window opens at the virtual desktop's corner.
scanButton=(46 80)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
source "$here/env.sh"
# A prefix of its own, so a test run sharing the build is left alone.
export MORVANE_WINEPREFIX="$MORVANE_WINE_DIR/screenshot-prefix"
export WINEPREFIX="$MORVANE_WINEPREFIX"
source "$here/prefix.sh"
MorvaneBootServer
wine "$MORVANE_WINE_DIR/../bin/morvane.exe" </dev/null >/dev/null 2>&1 &
mkdir -p "$output"
sleep 6
import -window root "$output/main.png"
xdotool mousemove "${scanButton[@]}" click 1
sleep 6
import -window root "$output/scan-done.png"
wineserver -k >/dev/null 2>&1 || true
echo "screenshots: $output/main.png $output/scan-done.png"
