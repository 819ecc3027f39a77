#!/usr/bin/env bash
# Swaps benchmark: soramine-cli run --allow-swaps of a job that shifts 10,000 numbered files up
# by one (every new name is the old name of the next file) against a run of the same method
# over 10,000 files whose new names are free; and of a job that swaps 5,000 pairs of names
# (each pair through a temporary name) against a run of the same method to 10,000 free names.
# Budgets: the shift at most 1.1x, the swaps at most 1.6x. Whole processes take turns.
# Usage: bench/swaps.sh CLI
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
# A run takes a fraction of a second, much of it waiting for the disk: nine turns each, so that
# the medians do not follow the machine's other writes.
runs="${BENCH_RUNS:-9}"
cli="$(realpath "$1")"
work="${BENCH_DIR:-/tmp/soramine-bench}/swaps"
count=10000
pairs=$((count / 2))
export XDG_CONFIG_HOME="$work/config"
failed=0

rm -rf "$work"
mkdir -p "$work/config"
# Numbering "file_*" from 2 with five digits: file_00001 → file_00002, ... (a shift), and from
# 10001 for the free names (file_10001 ... file_20000).
"$cli" make-job "$work/shift.qrn" --method 連番 --folder "$work/shift" --set 変更名='file_*' \
  --set 桁数=4 --set 開始番号=2 >/dev/null
"$cli" make-job "$work/free.qrn" --method 連番 --folder "$work/free" --set 変更名='file_*' \
  --set 桁数=4 --set 開始番号=10001 >/dev/null
# Split and reorder swaps the two halves of "a00001b00001": a pair of files a…b… and b…a…
# trade names; "a00001c00001" and "d00001a00001" become the free "c00001a00001" and
# "a00001d00001".
"$cli" make-job "$work/swap.qrn" --method 並べ替え --folder "$work/swap" --set 区切り=6-6 \
  --set 並び順=2-1 >/dev/null
"$cli" make-job "$work/apart.qrn" --method 並べ替え --folder "$work/apart" --set 区切り=6-6 \
  --set 並び順=2-1 >/dev/null

# Each preparation ends by syncing the folder, so that the timed run's journal syncs do not
# also write out the files the preparation made and removed.
numbered() {  # FOLDER: file_00001.txt ... file_10000.txt
  rm -rf "$1"
  mkdir -p "$1"
  (cd "$1" && seq -f "file_%05g.txt" 1 "$count" | xargs touch)
  sync "$1"
}
pairs_of() {  # FOLDER FIRST SECOND: FIRSTnnnnnbnnnnn.txt and SECONDnnnnnannnnn.txt per pair
  rm -rf "$1"
  mkdir -p "$1"
  (cd "$1" && seq -f "%05g" 1 "$pairs" |
    awk -v f="$2" -v s="$3" '{ print "a" $1 f $1 ".txt"; print s $1 "a" $1 ".txt" }' | xargs touch)
  sync "$1"
}
prepare_shift() { numbered "$work/shift"; }
prepare_free() { numbered "$work/free"; }
prepare_swap() { pairs_of "$work/swap" b b; }
prepare_apart() { pairs_of "$work/apart" c d; }
run_shift() { "$cli" run "$work/shift.qrn" --allow-swaps; }
run_free() { "$cli" run "$work/free.qrn"; }
run_swap() { "$cli" run "$work/swap.qrn" --allow-swaps; }
run_apart() { "$cli" run "$work/apart.qrn"; }

read -r shift free < <(take_turns prepare_shift run_shift prepare_free run_free)
[ -e "$work/shift/file_10001.txt" ] && [ ! -e "$work/shift/file_00001.txt" ] ||
  { echo "the shift left names unchanged"; exit 1; }
verdict "shift $count files by one" "$shift" "$free" 1.1 "free names"

read -r swap apart < <(take_turns prepare_swap run_swap prepare_apart run_apart)
[ -e "$work/swap/a00001b00001.txt" ] && [ "$(ls -A "$work/swap" | wc -l)" -eq "$count" ] ||
  { echo "the swaps lost names"; exit 1; }
verdict "swap $pairs pairs" "$swap" "$apart" 1.6 "free names"
rm -rf "$work"
exit "$failed"
