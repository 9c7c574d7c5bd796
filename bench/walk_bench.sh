#!/usr/bin/env bash
# The walk of morvane-scan against `find PATH -type f` on the same warm tree.
# Usage: bench/walk_bench.sh [FILES] (default 100000); the tree is kept in /tmp for reruns.
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-100000}
tree=/tmp/morvane-bench-tree-$files
cmake --preset linux >/dev/null
cmake --build build/linux --target walk_only morvane-scan >/dev/null
[ -d "$tree" ] || python3 bench/make_tree.py "$tree" "$files"

best() {  # best wall time of 5 runs of the command, in seconds
  local best=999
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    best=$(python3 -c "print(min($best, $end - $start))")
  done
  echo "$best"
}

find "$tree" -type f >/dev/null  # warm the cache
find_s=$(best find "$tree" -type f)
walk_s=$(best build/linux/bin/walk_only "$tree")
scan_s=$(best build/linux/bin/morvane-scan "$tree")
python3 - "$files" "$find_s" "$walk_s" "$scan_s" <<'PY'
import sys
n, find_s, walk_s, scan_s = int(sys.argv[1]), *map(float, sys.argv[2:])
print(f"find -type f : {n / find_s:10.0f} files/s ({find_s:.3f} s)")
print(f"walk only    : {n / walk_s:10.0f} files/s ({walk_s:.3f} s), {find_s / walk_s:.2f}x find")
print(f"morvane-scan : {n / scan_s:10.0f} files/s ({scan_s:.3f} s), {find_s / scan_s:.2f}x find (walk and file engine: opens every file)")
PY
