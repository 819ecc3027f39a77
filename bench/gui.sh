#!/usr/bin/env bash
# Window benchmarks, offscreen: import into the window against soramine-cli list, a
# header-click sort against std::sort, start-up against an empty dialog, and peak memory.
# Usage: bench/gui.sh CLI GUI_BENCH   (bench/run.sh passes the release programs)
set -euo pipefail
cli="$1"
bench="$2"
work="${BENCH_DIR:-/tmp/soramine-bench}/import"
runs="${BENCH_RUNS:-5}"
export QT_QPA_PLATFORM=offscreen
XDG_CONFIG_HOME="$(mktemp -d)"
export XDG_CONFIG_HOME

[ -f "$work/.done" ] || { echo "run bench/import.sh first (it makes the trees)"; exit 2; }

best() {  # the smallest of several runs of a command that prints a number
  local best=""
  for _ in $(seq "$runs"); do
    local t
    t=$("$@")
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}

elapsed() {  # seconds a command takes
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

peak() { { /usr/bin/time -f '%M' "$@" >/dev/null; } 2>&1 | tail -1; }

failed=0
verdict() {  # name ratio budget detail
  local ok=FAIL
  if [ "$(echo "$2 <= $3" | bc -l)" = 1 ]; then ok=PASS; else failed=1; fi
  printf '%s: %.2fx (budget <= %.2fx) %s %s\n' "$1" "$2" "$3" "$4" "$ok"
}

"$cli" list "$work/flat" >/dev/null  # warm the page cache
ours=$(best "$bench" import "$work/flat")
ref=$(best elapsed "$cli" list "$work/flat")
verdict "window import flat 100000" "$(echo "$ours / $ref" | bc -l)" 1.3 \
  "($(printf '%.3f s vs soramine-cli list %.3f s' "$ours" "$ref"))"

verdict "header sort 100000 vs std::sort" "$(best "$bench" sort 100000)" 2.0 ""

window=$(best elapsed "$bench" window)
dialog=$(best elapsed "$bench" dialog)
verdict "start-up to painted window vs empty dialog" "$(echo "$window / $dialog" | bc -l)" 2.0 \
  "($(printf '%.3f s vs %.3f s' "$window" "$dialog"))"

loaded=$(peak "$bench" import "$work/flat")
listed=$(peak "$cli" list "$work/flat")
empty=$(peak "$bench" window)
verdict "peak memory with 100000 rows vs list + empty window" \
  "$(echo "$loaded / ($listed + $empty)" | bc -l)" 1.0 \
  "($loaded KiB vs $listed + $empty KiB)"
exit $failed
