#!/usr/bin/env bash
# Engine throughput: morvane-scan in Detect mode against a floor that only walks and does open,
# 64-byte read and close per file, on the same warm tree. Prints files/s of both and the ratio.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly build=build/release
readonly tree=${BENCH_TREE:-/tmp/morvane-bench-tree}
readonly files=${BENCH_FILES:-100000}
readonly runs=${BENCH_RUNS:-3}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVANE_TESTS=OFF >/dev/null
cmake --build "$build" --target morvane-scan engine_floor make_bench_tree >/dev/null ||
  { echo "engine_bench: build failed" >&2; exit 1; }

if [[ ! -f "$tree/.complete-$files" ]]; then
  rm -rf "$tree"
  "$build/bin/make_bench_tree" "$tree" "$files" 3000 5
  touch "$tree/.complete-$files"
fi

# Warm the page and dentry caches so both sides read from memory.
"$build/bin/engine_floor" "$tree" >/dev/null
"$build/bin/engine_floor" "$tree" >/dev/null

now() { date +%s.%N; }

best_scan=""
best_floor=""
for _ in $(seq "$runs"); do
  start=$(now)
  status=0
  "$build/bin/morvane-scan" "$tree" >/tmp/morvane-bench-scan.out || status=$?
  end=$(now)
  # Exit status 1 means viruses were found, which the tree's positives make expected.
  [[ $status -le 1 ]] || { echo "morvane-scan failed ($status)" >&2; exit 1; }
  scan=$(echo "$end - $start" | bc -l)
  start=$(now)
  "$build/bin/engine_floor" "$tree" >/dev/null
  end=$(now)
  floor=$(echo "$end - $start" | bc -l)
  if [[ -z $best_scan ]] || (( $(echo "$scan < $best_scan" | bc -l) )); then best_scan=$scan; fi
  if [[ -z $best_floor ]] || (( $(echo "$floor < $best_floor" | bc -l) )); then best_floor=$floor; fi
done

found=$(grep -c "ransom.wanacry.a" /tmp/morvane-bench-scan.out || true)
scan_rate=$(echo "$files / $best_scan" | bc -l)
floor_rate=$(echo "$files / $best_floor" | bc -l)
printf 'tree: %s files, %s findings reported\n' "$files" "$found"
printf 'morvane-scan (Detect): %.0f files/s (%.3f s)\n' "$scan_rate" "$best_scan"
printf 'floor (open + 64-byte read + close): %.0f files/s (%.3f s)\n' "$floor_rate" "$best_floor"
printf 'ratio: %.2fx the floor\n' "$(echo "$scan_rate / $floor_rate" | bc -l)"
