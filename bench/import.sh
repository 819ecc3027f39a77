#!/usr/bin/env bash
# Import benchmark: soramine-cli list against find over the same trees, page cache warm.
# Usage: bench/import.sh CLI   (the release soramine-cli; bench/run.sh passes it)
set -euo pipefail
cli="$1"
work="${BENCH_DIR:-/tmp/soramine-bench}/import"
runs="${BENCH_RUNS:-5}"

make_trees() {
  [ -f "$work/.done" ] && return
  rm -rf "$work"
  mkdir -p "$work/flat" "$work/tree"
  (cd "$work/flat" && seq -f "file_%06g.txt" 1 100000 | xargs touch)
  for d in $(seq -f "dir_%03g" 1 100); do
    mkdir "$work/tree/$d"
    (cd "$work/tree/$d" && seq -f "file_%04g.dat" 1 1000 | xargs touch)
  done
  touch "$work/.done"
}

# The best of several runs, in seconds.
best_time() {
  local best=""
  for _ in $(seq "$runs"); do
    local start end t
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}

verdict() {  # name ours reference budget
  local ratio
  ratio=$(echo "$2 / $3" | bc -l)
  local ok=FAIL
  if [ "$(echo "$ratio <= $4" | bc -l)" = 1 ]; then ok=PASS; else failed=1; fi
  printf '%s: %.3f s vs find %.3f s = %.2fx (budget <= %.2fx) %s\n' "$1" "$2" "$3" "$ratio" "$4" "$ok"
}

failed=0
make_trees
find "$work" -type f -printf '%f\t%h\t%T@\t%s\n' >/dev/null  # warm the page cache
"$cli" list --subfolders "$work/tree" >/dev/null

for kind in flat tree; do
  ref=$(best_time find "$work/$kind" -type f -printf '%f\t%h\t%T@\t%s\n')
  ours=$(best_time "$cli" list --subfolders "$work/$kind")
  verdict "import $kind 100000" "$ours" "$ref" 1.0
done

peak=$( { /usr/bin/time -f '%M' "$cli" list "$work/flat" >/dev/null; } 2>&1 | tail -1)
ok=FAIL
if [ "$peak" -le $((64 * 1024)) ]; then ok=PASS; else failed=1; fi
printf 'import flat peak memory: %d KiB (budget <= 65536 KiB) %s\n' "$peak" "$ok"
exit $failed
