#!/usr/bin/env bash
# Test fixture cleanup: ends the shared wineserver and everything running in the prefix.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
exit 0
