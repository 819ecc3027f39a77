#!/usr/bin/env bash
# Collision avoidance benchmark: soramine-cli runs a replace job over 4,000 files that all map
# to one name (automatic avoidance numbers them "[1]" ... "[3999]") and over 4,000 files that
# map to distinct names; the first may take at most twice as long as the second.
# Usage: bench/collisions.sh CLI
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
cli="$(realpath "$1")"
work="${BENCH_DIR:-/tmp/soramine-bench}/collisions"
count=4000
export XDG_CONFIG_HOME="$work/config"
failed=0

rm -rf "$work"
mkdir -p "$work/config"
# "file_*" up to the extension becomes "same": every file maps to same.txt.
"$cli" make-job "$work/same.qrn" --method 置換 --folder "$work/same" --flag 自動回避=1 \
  --set 変更前='file_*' --set 変更後=same >/dev/null
"$cli" make-job "$work/distinct.qrn" --method 置換 --folder "$work/distinct" --flag 自動回避=1 \
  --set 変更前=file --set 変更後=item >/dev/null

fresh() {  # a folder holding file_0001.txt ... file_4000.txt
  rm -rf "$1"
  mkdir -p "$1"
  (cd "$1" && seq -f "file_%04g.txt" 1 "$count" | xargs touch)
}
prepare_same() { fresh "$work/same"; }
prepare_distinct() { fresh "$work/distinct"; }
run_same() { "$cli" run "$work/same.qrn"; }
run_distinct() { "$cli" run "$work/distinct.qrn"; }

read -r same distinct < <(take_turns prepare_same run_same prepare_distinct run_distinct)
[ -e "$work/same/same[3999].txt" ] || { echo "the same-name job did not number every file"; exit 1; }
verdict "run $count files to one name" "$same" "$distinct" 2.0 "distinct names"
rm -rf "$work"
exit "$failed"
