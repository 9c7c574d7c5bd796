#!/usr/bin/env bash
# Runs a Windows program under Wine with the test environment: CMake's emulator for the tests.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
exec wine "$@"
