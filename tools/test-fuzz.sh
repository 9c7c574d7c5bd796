#!/usr/bin/env bash
# Builds the rule-engine fuzzer with clang and runs it for about a minute from seeds the fixture
# generator writes. Fails on any crash, leak or sanitizer report; skips when clang is absent.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly build=build/fuzz
readonly seconds=${FUZZ_SECONDS:-60}

if ! command -v clang++ >/dev/null 2>&1; then
  echo "test-fuzz: clang++ not found; skipping the fuzz run"
  exit 0
fi

fuzzer_runtime_works() {
  local probe
  probe=$(mktemp -d)
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    >"$probe/probe.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1
  local status=$?
  rm -rf "$probe"
  return $status
}

if ! fuzzer_runtime_works; then
  echo "test-fuzz: installing the libFuzzer runtime (libclang-rt-14-dev)"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y libclang-rt-14-dev
  fuzzer_runtime_works || { echo "test-fuzz: clang cannot link a fuzzer" >&2; exit 1; }
fi
for tool in cmake ninja; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y cmake ninja-build
    break
  fi
done

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORVANE_FUZZ=ON -DMORVANE_TESTS=OFF -DMORVANE_BENCH=OFF >/dev/null
cmake --build "$build" --target rule_engine_fuzzer make_fuzz_seeds

rm -rf "$build/seeds" "$build/corpus"
mkdir -p "$build/corpus"
"$build/bin/make_fuzz_seeds" "$build/seeds"

# libFuzzer exits non-zero on a crash, a leak, a timeout or a sanitizer report.
"$build/bin/rule_engine_fuzzer" -max_total_time="$seconds" -max_len=32768 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 "$build/corpus" "$build/seeds"
echo "test-fuzz: no crash, leak or sanitizer report in ${seconds}s"
