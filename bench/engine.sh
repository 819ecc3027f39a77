#!/usr/bin/env bash
# Rename engine benchmark: preview, execution and undo against bare system-call loops
# (soramine-engine-bench), then the same job as Debian's rename (perl): replacing "file" by
# "item" in the names of 10,000 files, page cache warm, best of several runs; ours must be
# faster. Usage: bench/engine.sh [CLI] [BUILD_DIR]   (bench/run.sh passes both; CLI unused)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${2:-build-engine-release}"
bench="$build/bench/soramine-engine-bench"
work="${BENCH_DIR:-/tmp/soramine-bench}/engine"
runs="${BENCH_RUNS:-5}"
count=10000

if [ ! -x "$bench" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSORAMINE_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target soramine-engine-bench >/dev/null
fi
command -v rename >/dev/null || { echo "rename (the Debian package \"rename\") is missing"; exit 2; }

failed=0
mkdir -p "$work"
"$bench" "$work" || failed=1

fresh() {  # a folder holding file_000001.txt ... file_010000.txt
  rm -rf "$1"
  mkdir -p "$1"
  (cd "$1" && seq -f "file_%06g.txt" 1 "$count" | xargs touch)
}
elapsed() {  # seconds taken by a command
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
perl_rename() { (cd "$1" && rename 's/file/item/' -- *); }
renamed_all() { [ "$(find "$1" -name 'item_*' | wc -l)" -eq "$count" ]; }

ours="" theirs=""
for _ in $(seq "$runs"); do
  fresh "$work/ours"
  fresh "$work/theirs"
  t=$(elapsed "$bench" --rename "$work/ours")
  renamed_all "$work/ours" || { echo "soramine-engine-bench --rename left names unchanged"; exit 1; }
  if [ -z "$ours" ] || [ "$(echo "$t < $ours" | bc -l)" = 1 ]; then ours=$t; fi
  t=$(elapsed perl_rename "$work/theirs")
  renamed_all "$work/theirs" || { echo "rename left names unchanged"; exit 1; }
  if [ -z "$theirs" ] || [ "$(echo "$t < $theirs" | bc -l)" = 1 ]; then theirs=$t; fi
done
rm -rf "$work/ours" "$work/theirs"

ratio=$(echo "$ours / $theirs" | bc -l)
verdict=FAIL
[ "$(echo "$ratio < 1" | bc -l)" = 1 ] && verdict=PASS
[ "$verdict" = PASS ] || failed=1
printf 'rename %d: %.3f s vs Debian rename %.3f s = %.2fx (budget < 1.00x) %s\n' \
  "$count" "$ours" "$theirs" "$ratio" "$verdict"
exit "$failed"
