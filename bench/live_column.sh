#!/usr/bin/env bash
# The window's column of new names over 100,000 files: after a key typed into the replace
# page's search box, the visible rows' names (budget 50 ms), the whole column against a
# soramine-cli preview of the same job (budget 1.5x), and the longest event of the window's
# thread while the column fills (budget 16 ms). Window and CLI take turns; medians.
# Usage: bench/live_column.sh CLI GUI_BENCH
set -euo pipefail
cli="$(realpath "$1")"
bench="$(realpath "$2")"
cd "$(dirname "$0")/.."
source bench/lib.sh
[ "$runs" -ge 5 ] || runs=5
work="${BENCH_DIR:-/tmp/soramine-bench}/live"
count=100000
export QT_QPA_PLATFORM="offscreen:configfile=$PWD/tests/gui/offscreen_screen.json"
export XDG_CONFIG_HOME="$work/config"
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
trap 'rm -rf "$work" "$XDG_RUNTIME_DIR"' EXIT
failed=0

rm -rf "$work"
mkdir -p "$work/config" "$work/files"
(cd "$work/files" && seq -f "file_%06g.txt" 1 "$count" | xargs touch)
# The job the window has once the key is typed: "file_" -> "item".
"$cli" make-job "$work/job.qrn" --method 置換 --folder "$work/files" \
  --set 変更前=file_ --set 変更後=item >/dev/null

window=() ; visible=() ; longest=() ; cli_runs=()
for _ in $(seq "$runs"); do
  out="$("$bench" live "$work/files")"
  read -r v w l <<<"$out"
  visible+=("$v"); window+=("$w"); longest+=("$l")
  cli_runs+=("$(wall_seconds "$cli" preview "$work/job.qrn")")
done
med() { printf '%s\n' "$@" | median; }
echo "load average $(cut -d' ' -f1-3 /proc/loadavg); $runs runs each, medians"
budget() {  # NAME VALUE LIMIT UNIT
  local ok=PASS
  [ "$(echo "$2 <= $3" | bc -l)" = 1 ] || { ok=FAIL; failed=1; }
  printf '%s: %s %s (budget <= %s %s) %s\n' "$1" "$2" "$4" "$3" "$4" "$ok"
}
budget "visible rows after a key, $count items" "$(med "${visible[@]}")" 50 ms
verdict "whole column after a key, $count items" "$(med "${window[@]}")" "$(med "${cli_runs[@]}")" \
  1.5 "soramine-cli preview"
budget "longest event while the column fills" "$(med "${longest[@]}")" 16 ms
exit "$failed"
