#!/usr/bin/env bash
# Names from text and script against replace: soramine-cli preview of the same 100,000 files,
# whole processes taking turns. The script has 20 lines of replace and add codes; the text
# job takes its names from a file of 100,000 lines (read once, in blocks).
# Usage: bench/text_script.sh CLI   (bench/run.sh passes it)
set -euo pipefail
cd "$(dirname "$0")/.."
work="${BENCH_DIR:-/tmp/soramine-bench}/text_script"
count=100000
cli="$(realpath "$1")"

source bench/lib.sh
failed=0
rm -rf "$work"
mkdir -p "$work/files" "$work/config"
export XDG_CONFIG_HOME="$work/config"
(cd "$work/files" && seq -f "file_%06g.txt" 1 "$count" | xargs touch)
seq -f "name_%06g" 1 "$count" >"$work/names.txt"
# Ten replacements that each match once (file_ -> f1_ -> f2_ ... -> f10_), each followed by
# an addition before the extension.
script=""
previous=file_
for i in $(seq 10); do
  script+="<${previous}>→<f${i}_>"$'\r\n'"<\\AB>_${i}"$'\r\n'
  previous="f${i}_"
done

"$cli" make-job "$work/replace.qrn" --method 置換 --folder "$work/files" --set 変更前=file \
  --set 変更後=item >/dev/null
"$cli" make-job "$work/script.qrn" --method スクリプト --folder "$work/files" \
  --set "スクリプト-コード=$script" >/dev/null
"$cli" make-job "$work/text.qrn" --method テキスト --folder "$work/files" \
  --set "ファイル名=$work/names.txt" >/dev/null

# Each preview must name every file, or the figures would compare different work.
"$cli" preview "$work/script.qrn" >"$work/out.txt"
grep -q "^file_000001.txt→f10_000001_1_2_3_4_5_6_7_8_9_10.txt$" "$work/out.txt" ||
  { echo "the script preview is not what it should be"; exit 1; }
"$cli" preview "$work/text.qrn" >"$work/out.txt"
grep -q "^file_100000.txt→name_100000.txt$" "$work/out.txt" ||
  { echo "the text preview is not what it should be"; exit 1; }

none() { :; }
run_replace() { "$cli" preview "$work/replace.qrn"; }
run_script() { "$cli" preview "$work/script.qrn"; }
run_text() { "$cli" preview "$work/text.qrn"; }

read -r ours theirs < <(take_turns none run_script none run_replace)
verdict "script preview $count (20 codes)" "$ours" "$theirs" 3.0 "replace preview"
read -r ours theirs < <(take_turns none run_text none run_replace)
verdict "text preview $count (lines from a file)" "$ours" "$theirs" 1.5 "replace preview"
rm -rf "$work"
exit "$failed"
