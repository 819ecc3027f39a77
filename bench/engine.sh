#!/usr/bin/env bash
# Rename engine benchmark: preview, execution and undo against bare system-call loops
# (soramine-engine-bench, in-process: a diagnosis), then what a user runs: soramine-cli run of a
# job replacing "file" by "item" in the names of 10,000 files, and its undo, against Debian's
# rename (perl) making the same renames, whole processes taking turns.
# Usage: bench/engine.sh CLI [BUILD_DIR]   (bench/run.sh passes both)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${2:-build-engine-release}"
bench="$build/bench/soramine-engine-bench"
work="${BENCH_DIR:-/tmp/soramine-bench}/engine"
count=10000

if [ ! -x "$bench" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSORAMINE_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target soramine-engine-bench >/dev/null
fi
command -v rename >/dev/null || { echo "rename (the Debian package \"rename\") is missing"; exit 2; }

failed=0
mkdir -p "$work"
"$bench" "$work" || failed=1

source bench/lib.sh
export XDG_CONFIG_HOME="$work/config"
rm -rf "$work/config"
mkdir -p "$work/config"
cli="$(realpath "$1")"
"$cli" make-job "$work/job.qrn" --method 置換 --folder "$work/ours" --set 変更前=file \
  --set 変更後=item >/dev/null

fresh() {  # a folder holding file_000001.txt ... file_010000.txt
  rm -rf "$1"
  mkdir -p "$1"
  (cd "$1" && seq -f "file_%06g.txt" 1 "$count" | xargs touch)
}
renamed_all() { [ "$(find "$1" -name "$2" | wc -l)" -eq "$count" ]; }

# A run as a user starts it (import, journal and all) against Debian's rename (perl), then
# the undo against rename making the same renames back.
prepare_ours() { fresh "$work/ours"; }
prepare_theirs() { fresh "$work/theirs"; }
run_ours() { "$cli" run "$work/job.qrn"; }
run_theirs() { (cd "$work/theirs" && rename 's/file/item/' -- *); }
read -r ours theirs < <(take_turns prepare_ours run_ours prepare_theirs run_theirs)
renamed_all "$work/ours" 'item_*' || { echo "soramine-cli run left names unchanged"; exit 1; }
verdict "run $count" "$ours" "$theirs" 0.8 "Debian rename"

prepare_undo() { fresh "$work/ours" && "$cli" run "$work/job.qrn" >/dev/null; }
prepare_back() { fresh "$work/theirs" && (cd "$work/theirs" && rename 's/file/item/' -- *); }
run_undo() { "$cli" undo; }
run_back() { (cd "$work/theirs" && rename 's/item/file/' -- *); }
read -r ours theirs < <(take_turns prepare_undo run_undo prepare_back run_back)
renamed_all "$work/ours" 'file_*' || { echo "soramine-cli undo left names unchanged"; exit 1; }
verdict "undo $count" "$ours" "$theirs" 0.8 "Debian rename back"
rm -rf "$work/ours" "$work/theirs" "$work/config"
exit "$failed"
