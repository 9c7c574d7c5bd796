#!/usr/bin/env bash
# Builds and runs every test: the sanitizer build, the fuzz run, the Windows build under Wine,
# and last the optimised Linux build, whose ctest summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh
need_packages "${BUILD_PACKAGES[@]}"
jobs=$(nproc)

echo "== AddressSanitizer and UndefinedBehaviorSanitizer build"
cmake --preset asan >/dev/null
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan -j "$jobs" --output-on-failure

echo "== ThreadSanitizer build of the run logic (worker and window thread)"
cmake --preset tsan >/dev/null
cmake --build build/tsan -j "$jobs" --target morvane_tests
TSAN_OPTIONS=halt_on_error=1 build/tsan/bin/morvane_tests --gtest_brief=1 \
  --gtest_filter='*Scan*:*Report*:*Walk*:*Finding*:*Stop*:*Clean*Outcome*'

if [ -f tools/test-fuzz.sh ]; then
  echo "== Fuzz run"
  bash tools/test-fuzz.sh
fi

if [ -f tools/test-windows.sh ]; then
  echo "== Windows build under Wine"
  bash tools/test-windows.sh
fi

echo "== Linux build"
cmake --preset linux >/dev/null
cmake --build build/linux -j "$jobs"
ctest --test-dir build/linux -j "$jobs" --output-on-failure
