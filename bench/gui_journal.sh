#!/usr/bin/env bash
# The undo journal's cost in the window: an execution renaming 10,000 files, with the journal
# against the same window execution without it (the benchmark's switch), offscreen. The two
# take turns (A B A B ...), each on a fresh folder of the same files, medians of $runs runs.
# Usage: bench/gui_journal.sh GUI_BENCH   (bench/run.sh passes the release program)
set -euo pipefail
bench="$(realpath "$1")"
cd "$(dirname "$0")/.."
source bench/lib.sh
[ "$runs" -ge 5 ] || runs=5
work="${BENCH_DIR:-/tmp/soramine-bench}/journal"
export QT_QPA_PLATFORM="offscreen:configfile=$PWD/tests/gui/offscreen_screen.json"
XDG_CONFIG_HOME="$(mktemp -d)"
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_CONFIG_HOME XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$work"' EXIT

# A fresh folder of 10,000 empty files, and no journal left from the run before. It ends by
# syncing, so that the journal's flushes in the timed run do not also write out the files this
# made and removed (a run without the journal never waits for them).
fresh() {
  rm -rf "$work" "$XDG_CONFIG_HOME/soramine/undo"
  mkdir -p "$work"
  (cd "$work" && seq -f 'IMG_%05g.jpg' 10000 | xargs touch)
  sync
}
journalled() { "$bench" execute "$work"; }
unjournalled() { "$bench" execute "$work" unjournalled; }

echo "load average $(cut -d' ' -f1-3 /proc/loadavg); $runs runs each, medians"
a=() b=()
for _ in $(seq "$runs"); do
  fresh; a+=("$(journalled)")
  fresh; b+=("$(unjournalled)")
done
failed=0
verdict "window execution 10000 files with the undo journal" \
  "$(printf '%s\n' "${a[@]}" | median)" "$(printf '%s\n' "${b[@]}" | median)" 1.1 "without it"
exit $failed
