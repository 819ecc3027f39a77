#!/usr/bin/env bash
# Digest throughput against the system's tools, measured in the same run over one 1 GiB file
# in the page cache (32 KiB reads). Usage: bench/digests.sh [FILE] [BUILD_DIR]
# Prints one line per budget and exits 1 when one is missed.
set -euo pipefail
cd "$(dirname "$0")/.."
file="${1:-/tmp/soramine-digest-bench.bin}"
build="${2:-build-release}"
size=$((1024 * 1024 * 1024))
runs=3

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSORAMINE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target soramine-digest-bench >/dev/null
bench="$build/bench/soramine-digest-bench"

if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne "$size" ]; then
  echo "creating $file (1 GiB)"
  head -c "$size" /dev/urandom >"$file"
fi
cat "$file" >/dev/null
cat "$file" >/dev/null

# Best MB/s of $runs runs of a command over the file.
best_rate() {
  local best=0 start end rate
  for _ in $(seq "$runs"); do
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    rate=$(awk -v s="$size" -v a="$start" -v b="$end" 'BEGIN { printf "%.0f", s / 1e6 / (b - a) }')
    [ "$rate" -gt "$best" ] && best=$rate
  done
  echo "$best"
}

cat_rate=$(best_rate cat "$file")
md5sum_rate=$(best_rate md5sum "$file")
sha1sum_rate=$(best_rate sha1sum "$file")
openssl_rate=$(best_rate openssl dgst -sha1 "$file")
ours=$("$bench" "$file" "$runs")
rate_of() { awk -v n="$1" '$1 == n { print $2 }' <<<"$ours"; }
digest_of() { awk -v n="$1" '$1 == n { print $3 }' <<<"$ours"; }

failed=0
verdict() {  # value budget: prints PASS or FAIL, remembers a failure
  if awk -v r="$1" -v b="$2" 'BEGIN { exit !(r >= b) }'; then
    echo PASS
  else
    echo FAIL
    failed=1
  fi
}
compare() {  # label ours reference reference-name budget
  local ratio
  ratio=$(awk -v a="$2" -v b="$3" 'BEGIN { printf "%.2f", a / b }')
  echo -n "$1: $2 MB/s vs $4 $3 MB/s = ${ratio}x (budget >= $5x) "
  verdict "$ratio" "$5"
}

[ "$(digest_of MD5)" = "$(md5sum "$file" | cut -d' ' -f1)" ] || { echo "MD5 digest differs from md5sum"; failed=1; }
[ "$(digest_of SHA1)" = "$(sha1sum "$file" | cut -d' ' -f1)" ] || { echo "SHA-1 digest differs from sha1sum"; failed=1; }

echo "page cache read (cat): $cat_rate MB/s"
compare "MD5" "$(rate_of MD5)" "$md5sum_rate" md5sum 0.95
compare "SHA-1" "$(rate_of SHA1)" "$openssl_rate" "openssl dgst -sha1" 0.9
compare "SHA-1 portable" "$(rate_of SHA1-portable)" "$sha1sum_rate" sha1sum 0.9
crc=$(rate_of CRC32)
echo -n "CRC-32: $crc MB/s (budget >= 2000 MB/s) "
verdict "$crc" 2000
echo "CRC-32 portable: $(rate_of CRC32-portable) MB/s"
exit "$failed"
