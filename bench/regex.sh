#!/usr/bin/env bash
# Regular-expression replace benchmark: soramine-cli previews a replace job over 100,000 files
# whose search text is a regular expression with a group, against the same preview with a
# wildcard search text doing the same renames; whole processes taking turns.
# Usage: bench/regex.sh CLI
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
cli="$(realpath "$1")"
work="${BENCH_DIR:-/tmp/soramine-bench}/regex"
count=100000
export XDG_CONFIG_HOME="$work/config"
failed=0

rm -rf "$work"
mkdir -p "$work/config" "$work/files"
(cd "$work/files" && seq -f "file_%06g.txt" 1 "$count" | xargs touch)
# Both turn file_000001.txt into item_000001.txt.
"$cli" make-job "$work/regex.qrn" --method 置換 --folder "$work/files" --set 正規表現=1 \
  --set 変更前='^file_(\d+)$' --set 変更後='item_$1' >/dev/null
"$cli" make-job "$work/wildcard.qrn" --method 置換 --folder "$work/files" \
  --set 変更前='file*_' --set 変更後=item_ >/dev/null
[ "$("$cli" preview "$work/regex.qrn" | grep -c '→item_')" -eq "$count" ] ||
  { echo "the regular-expression preview did not rename every file"; exit 1; }

nothing() { :; }
run_regex() { "$cli" preview "$work/regex.qrn"; }
run_wildcard() { "$cli" preview "$work/wildcard.qrn"; }
read -r regex wildcard < <(take_turns nothing run_regex nothing run_wildcard)
verdict "preview $count with a regular expression" "$regex" "$wildcard" 1.5 "wildcard"
rm -rf "$work"
exit "$failed"
