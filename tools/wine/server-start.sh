#!/usr/bin/env bash
# Test fixture: a fresh prefix from the template and one persistent, booted wineserver that
# every Windows test of this run shares.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/env.sh"
source "$here/prefix.sh"
MorvaneEnsureLocale
MorvaneEnsureTemplate
MorvaneFreshPrefix
# Output to /dev/null: a server holding this script's pipes would keep CTest waiting.
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
echo "wine prefix ready: $WINEPREFIX"
