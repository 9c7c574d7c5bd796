#!/usr/bin/env bash
# Builds the Windows program and its tests with MinGW-w64 and runs the tests under Wine.
# Installs what it needs on a fresh Debian machine (as root). Usage: bash tools/test-windows.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

. tools/packages.sh
need_packages cmake ninja-build g++-mingw-w64-x86-64 googletest wine wine64 fonts-wine \
  fonts-wqy-zenhei locales xvfb xauth xdotool imagemagick

# A new template prefix for every run, so nothing of an earlier run carries over.
rm -rf build/mingw/wine/template
cmake --preset mingw
cmake --build build/mingw
# The tests need no X: without DISPLAY the prefix draws nothing (Graphics=x11,null).
unset DISPLAY
ctest --test-dir build/mingw --output-on-failure --timeout 300

# Pictures of the real window under Xvfb, kept as artefacts of the run.
bash tools/wine/screenshot.sh build/mingw/screenshots
