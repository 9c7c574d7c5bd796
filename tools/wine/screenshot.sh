#!/usr/bin/env bash
# Takes a picture of the running Windows program on a virtual X screen.
# Usage: screenshot.sh OUTPUT.png [SECONDS_TO_WAIT]  (from a built build/mingw)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
output="$(realpath -m "$1")"
wait="${2:-8}"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
source "$here/env.sh"
# A prefix of its own, so a test run sharing the build is left alone.
export MORVANE_WINEPREFIX="$MORVANE_WINE_DIR/screenshot-prefix"
export WINEPREFIX="$MORVANE_WINEPREFIX"
source "$here/prefix.sh"
MorvaneEnsureLocale
MorvaneEnsureTemplate
MorvaneFreshPrefix
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
wine "$MORVANE_WINE_DIR/../bin/morvane.exe" </dev/null >/dev/null 2>&1 &
sleep "$wait"
mkdir -p "$(dirname "$output")"
import -window root "$output"
wineserver -k >/dev/null 2>&1 || true
echo "screenshot: $output"
