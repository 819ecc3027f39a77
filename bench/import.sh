#!/usr/bin/env bash
# Import benchmark: soramine-cli list against find over the same trees, as a user runs them:
# whole processes writing into a pipe, page cache warm, in alternating runs (ours, find, ours,
# find, ...). Each pair gives a ratio; the median ratio is held against its budget.
# Usage: bench/import.sh CLI   (the release soramine-cli; bench/run.sh passes it)
# BENCH_RUNS sets the number of pairs (at least 5), BENCH_DIR where the trees are made.
set -euo pipefail
cli="$1"
work="${BENCH_DIR:-/tmp/soramine-bench}/import"
pairs="${BENCH_RUNS:-7}"
[ "$pairs" -ge 5 ] || pairs=5
line=$'%f\t%h\t%T@\t%s\n'

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

# One run of a command with its output going into a pipe: "wall cpu" in seconds, where cpu
# is the user and system time of the command's own process (the reader of the pipe is not
# counted).
measure() {
  local TIMEFORMAT='%3R %3U %3S' t
  t=$({ { time "$@" 2>/dev/null; } 2>&3 | cat >/dev/null; } 3>&1)
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' <<<"$t"
}

median() {  # of the numbers on standard input
  sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

verdict() {  # name what ratio budget seconds-ours seconds-find
  local ok=PASS
  awk -v r="$3" -v b="$4" 'BEGIN { exit !(r <= b) }' || { ok=FAIL; failed=1; }
  printf '%s %s: %.3f s vs find %.3f s = %.2fx (budget <= %.2fx) %s\n' "$1" "$2" "$5" "$6" "$3" "$4" "$ok"
}

# compare NAME WALL-BUDGET CPU-BUDGET -- OURS... -- FIND...; an empty budget is reported only.
compare() {
  local name="$1" wallBudget="$2" cpuBudget="$3"
  shift 4
  local ours=() theirs=()
  while [ "$1" != -- ]; do ours+=("$1"); shift; done
  shift
  theirs=("$@")
  "${ours[@]}" >/dev/null 2>&1
  "${theirs[@]}" >/dev/null 2>&1
  local rows=() a b
  for _ in $(seq "$pairs"); do
    a=$(measure "${ours[@]}")
    b=$(measure "${theirs[@]}")
    rows+=("$a $b")
  done
  local table
  table=$(printf '%s\n' "${rows[@]}")
  local wallRatio cpuRatio oursWall findWall oursCpu findCpu
  wallRatio=$(awk '{ print $1 / $3 }' <<<"$table" | median)
  cpuRatio=$(awk '{ print $2 / $4 }' <<<"$table" | median)
  oursWall=$(awk '{ print $1 }' <<<"$table" | median)
  findWall=$(awk '{ print $3 }' <<<"$table" | median)
  oursCpu=$(awk '{ print $2 }' <<<"$table" | median)
  findCpu=$(awk '{ print $4 }' <<<"$table" | median)
  if [ -n "$wallBudget" ]; then
    verdict "$name" wall "$wallRatio" "$wallBudget" "$oursWall" "$findWall"
  else
    printf '%s wall: %.3f s vs find %.3f s = %.2fx\n' "$name" "$oursWall" "$findWall" "$wallRatio"
  fi
  if [ -n "$cpuBudget" ]; then
    verdict "$name" cpu "$cpuRatio" "$cpuBudget" "$oursCpu" "$findCpu"
  else
    printf '%s cpu: %.3f s vs find %.3f s = %.2fx\n' "$name" "$oursCpu" "$findCpu" "$cpuRatio"
  fi
}

failed=0
make_trees
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); $pairs pairs, median of the pair ratios"
compare "import flat 100000" 0.70 1.00 -- "$cli" list --ext '*' "$work/flat" -- \
  find "$work/flat" -printf "$line"
compare "import tree 100x1000" 1.00 "" -- "$cli" list --subfolders --ext '*' "$work/tree" -- \
  find "$work/tree" -type f -printf "$line"

peak=$( { /usr/bin/time -f '%M' "$cli" list --ext '*' "$work/flat" >/dev/null; } 2>&1 | tail -1)
ok=FAIL
if [ "$peak" -le $((64 * 1024)) ]; then ok=PASS; else failed=1; fi
printf 'import flat 100000 peak memory: %d KiB (budget <= 65536 KiB) %s\n' "$peak" "$ok"
exit $failed
