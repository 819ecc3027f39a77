#!/usr/bin/env bash
# Methods that read or write file contents, as a user runs them (soramine-cli run of a job,
# import and all) against the system's tools on the same files, whole processes taking turns:
# - hash names of one 1 GiB file: MD5 against md5sum, SHA-1 against openssl dgst -sha1;
# - tags written to 1,000 MP3 files of 4 MiB each (each file rewritten whole, through a
#   temporary file that is flushed) against cp of the same files to a folder beside them,
#   against the same cp followed by sync, which puts the copy on the disk as the rewrite does,
#   and against cp, sync and mv over the files, which also frees the old content as the
#   rewrite does.
# Usage: bench/file_methods.sh CLI   (bench/run.sh passes it). The files lie under BENCH_DIR
# (/tmp/soramine-bench) and are removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
cli="$(realpath "$1")"
work="${BENCH_DIR:-/tmp/soramine-bench}/file-methods"
count="${MP3_COUNT:-1000}"
rm -rf "$work"
mkdir -p "$work/config" "$work/hash" "$work/mp3" "$work/copy" "$work/new"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
failed=0

# Hash names. Each run names the file after its digest; it gets its first name back untimed.
head -c $((1024 * 1024 * 1024)) /dev/urandom >"$work/hash/big.bin"
cat "$work/hash/big.bin" >/dev/null
"$cli" make-job "$work/md5.qrn" --method ハッシュ --folder "$work/hash" --set 種類=1 >/dev/null
"$cli" make-job "$work/sha1.qrn" --method ハッシュ --folder "$work/hash" --set 種類=2 >/dev/null
first_name() {
  local now
  now=$(ls "$work/hash")
  [ "$now" = big.bin ] || mv "$work/hash/$now" "$work/hash/big.bin"
}
md5_ours() { "$cli" run "$work/md5.qrn"; }
md5_theirs() { md5sum "$work/hash/big.bin"; }
sha1_ours() { "$cli" run "$work/sha1.qrn"; }
sha1_theirs() { openssl dgst -sha1 "$work/hash/big.bin"; }
read -r ours theirs < <(take_turns first_name md5_ours first_name md5_theirs)
md5=$(md5sum "$work/hash/big.bin" | cut -d' ' -f1)
md5_ours >/dev/null
[ -f "$work/hash/${md5^^}.bin" ] || { echo "the MD5 run did not name the file by its digest"; failed=1; }
verdict "hash name MD5 1 GiB" "$ours" "$theirs" 1.1 md5sum
read -r ours theirs < <(take_turns first_name sha1_ours first_name sha1_theirs)
verdict "hash name SHA-1 1 GiB" "$ours" "$theirs" 1.1 "openssl dgst -sha1"
rm -rf "$work/hash"

# Tags from names. The files get their tags once untimed, so that every timed run rebuilds a
# tag and copies the audio.
{
  printf '\xff\xfb\x90\x64'
  head -c $((4 * 1024 * 1024 - 4)) /dev/urandom
} >"$work/template.mp3"
for i in $(seq -f %04g 1 "$count"); do cp "$work/template.mp3" "$work/mp3/$i - Title.mp3"; done
rm "$work/template.mp3"
"$cli" make-job "$work/tags.qrn" --method MP3 --folder "$work/mp3" --ext mp3 --set MP3=1 \
  --set '設定値=$N - $T' >/dev/null
"$cli" run "$work/tags.qrn" >/dev/null
sync
tags_ours() { "$cli" run "$work/tags.qrn"; }
copy_fresh() { rm -rf "$work/copy" && mkdir "$work/copy" && sync; }
copy_theirs() { cp "$work/mp3/"*.mp3 "$work/copy/"; }
# The same copy made durable, as the rewrite must be: a plain cp leaves its data in memory.
copy_flushed() { cp "$work/mp3/"*.mp3 "$work/copy/" && sync -f "$work/copy"; }
# The whole of what the rewrite does, by the system's tools: the copies made on the same file
# system, put on the disk and moved over the files, whose old content the disk then frees.
replace_fresh() { rm -rf "$work/new" && mkdir "$work/new" && sync; }
replace_theirs() {
  cp "$work/mp3/"*.mp3 "$work/new/" && sync -f "$work/new" && mv -f "$work/new/"*.mp3 "$work/mp3/"
}
a=() b=() c=() d=()
for _ in $(seq "$runs"); do
  sync; a+=("$(wall_seconds tags_ours)")
  copy_fresh; b+=("$(wall_seconds copy_theirs)")
  copy_fresh; c+=("$(wall_seconds copy_flushed)")
  replace_fresh; d+=("$(wall_seconds replace_theirs)")
done
ours=$(printf '%s\n' "${a[@]}" | median)
head -c 3 "$work/mp3/0001 - Title.mp3" | grep -q ID3 || { echo "no tag was written"; failed=1; }
verdict "tags to $count MP3 x 4 MiB" "$ours" "$(printf '%s\n' "${b[@]}" | median)" 1.5 cp
verdict "tags to $count MP3 x 4 MiB" "$ours" "$(printf '%s\n' "${c[@]}" | median)" 1.5 "cp + sync"
verdict "tags to $count MP3 x 4 MiB" "$ours" "$(printf '%s\n' "${d[@]}" | median)" 1.5 \
  "cp + sync + mv over the files"
exit "$failed"
