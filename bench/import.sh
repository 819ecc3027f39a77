#!/usr/bin/env bash
# Import benchmark: soramine-cli list against find over the same trees, page cache warm, as a
# user runs them: whole processes writing into a pipe, taking turns (ours, find, ours, ...),
# each with the median of its runs, for wall time and for CPU time (user + system).
# Usage: bench/import.sh CLI   (the release soramine-cli; bench/run.sh passes it)
set -euo pipefail
cli="$(realpath "$1")"
cd "$(dirname "$0")/.."
source bench/lib.sh
[ "$runs" -ge 5 ] || runs=5
work="${BENCH_DIR:-/tmp/soramine-bench}/import"
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

# "wall cpu" in seconds for one run of a command whose output goes into a pipe; cpu is the
# user and system time of the command's own process, not of the pipe's reader.
wall_and_cpu() {
  local TIMEFORMAT='%3R %3U %3S' t
  t=$({ { time "$@" 2>/dev/null; } 2>&3 | cat >/dev/null; } 3>&1)
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' <<<"$t"
}

# compare NAME WALL_BUDGET CPU_BUDGET OURS... -- FIND...: the two take turns; an empty budget
# is reported without a verdict.
compare() {
  local name="$1" wallBudget="$2" cpuBudget="$3" ours=() theirs=() a=() b=()
  shift 3
  while [ "$1" != -- ]; do ours+=("$1"); shift; done
  shift
  theirs=("$@")
  "${ours[@]}" >/dev/null
  "${theirs[@]}" >/dev/null
  for _ in $(seq "$runs"); do
    a+=("$(wall_and_cpu "${ours[@]}")")
    b+=("$(wall_and_cpu "${theirs[@]}")")
  done
  local column kind budget ours_s find_s
  for column in 1 2; do
    kind=$([ "$column" = 1 ] && echo wall || echo cpu)
    budget=$([ "$column" = 1 ] && echo "$wallBudget" || echo "$cpuBudget")
    ours_s=$(printf '%s\n' "${a[@]}" | cut -d' ' -f"$column" | median)
    find_s=$(printf '%s\n' "${b[@]}" | cut -d' ' -f"$column" | median)
    if [ -n "$budget" ]; then
      verdict "$name $kind" "$ours_s" "$find_s" "$budget" find
    else
      printf '%s %s: %.3f s vs find %.3f s = %.2fx\n' "$name" "$kind" "$ours_s" "$find_s" \
        "$(echo "$ours_s / $find_s" | bc -l)"
    fi
  done
}

failed=0
make_trees
echo "load average $(cut -d' ' -f1-3 /proc/loadavg); $runs runs each, medians"
compare "list 100000 files" 0.70 1.00 "$cli" list --ext '*' "$work/flat" -- \
  find "$work/flat" -printf "$line"
compare "list 100 folders of 1000 files" 1.00 "" "$cli" list --subfolders --ext '*' "$work/tree" -- \
  find "$work/tree" -type f -printf "$line"

peak=$( { /usr/bin/time -f '%M' "$cli" list --ext '*' "$work/flat" >/dev/null; } 2>&1 | tail -1)
ok=FAIL
if [ "$peak" -le $((64 * 1024)) ]; then ok=PASS; else failed=1; fi
printf 'list 100000 files, peak memory: %d KiB (budget <= 65536 KiB) %s\n' "$peak" "$ok"
exit $failed
