#!/usr/bin/env bash
# Test fixture: a fresh prefix from the template and one persistent, booted wineserver that
# every Windows test of this run shares.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/env.sh"
source "$here/prefix.sh"
MorvaneBootServer
echo "wine prefix ready: $WINEPREFIX"
