#!/usr/bin/env bash
# Builds morvane-scan, generates a demo tree of harmless files shaped like the ransomware's
# executables beside ordinary ones, scans it, then cleans a copy of it.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh
need_packages "${BUILD_PACKAGES[@]}"

cmake --preset linux >/dev/null
cmake --build build/linux -j "$(nproc)" --target morvane-scan make_demo_tree
demo=/tmp/morvane-demo
rm -rf "$demo" "$demo-clean"
build/linux/bin/make_demo_tree "$demo"
cp -a "$demo" "$demo-clean"

echo
echo "== morvane-scan $demo (report only)"
status=0
build/linux/bin/morvane-scan "$demo" || status=$?
echo "(exit status $status: 0 nothing found, 1 virus found, 2 error)"

echo
echo "== morvane-scan --clean $demo-clean"
build/linux/bin/morvane-scan --clean "$demo-clean" || true
echo
echo "What is left of the cleaned copy (folders end in /; each cleaned ransomware file is now a"
echo "folder of its name, and the ransom-note picture is gone):"
(cd "$demo-clean" && find . -mindepth 1 \( -type d -printf '  %p/\n' \) -o -printf '  %p\n' | sort)

cat <<TEXT

To scan your own folder (for example a mounted Windows volume):
  build/linux/bin/morvane-scan /mnt/windows            # report only
  build/linux/bin/morvane-scan --clean /mnt/windows    # report and remove
To build the Windows program and run it under Wine:
  bash tools/test.sh      # builds build/mingw/bin/morvane.exe among the tests
  tools/wine/run.sh build/mingw/bin/morvane.exe
TEXT
