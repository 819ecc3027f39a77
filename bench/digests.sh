#!/usr/bin/env bash
# Digest throughput against the system's tools, measured in the same run over one 1 GiB file
# in the page cache (32 KiB reads). Usage: bench/digests.sh [FILE] [BUILD_DIR]
# Rates are over CPU time (user + system, so reading counts): on a shared machine the time on
# the clock mostly measures the other work. The tools take turns, round by round, so that
# each round's conditions are the same for all; the best of ROUNDS (5) counts. Exits 1 when a
# budget is missed.
set -euo pipefail
cd "$(dirname "$0")/.."
file="${1:-/tmp/soramine-digest-bench.bin}"
build="${2:-build-release}"
size=$((1024 * 1024 * 1024))
rounds="${ROUNDS:-5}"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSORAMINE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target soramine-digest-bench >/dev/null
bench="$build/bench/soramine-digest-bench"

if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne "$size" ]; then
  echo "creating $file (1 GiB)"
  head -c "$size" /dev/urandom >"$file"
fi
cat "$file" >/dev/null
cat "$file" >/dev/null

# MB/s of one run of a command over the file, by its CPU time.
cpu_rate() {
  local TIMEFORMAT='%3U %3S' t
  t=$({ time "$@" >/dev/null; } 2>&1)
  awk -v s="$size" -v t="$t" 'BEGIN { split(t, f, " "); printf "%.0f", s / 1e6 / (f[1] + f[2] + 1e-6) }'
}

declare -A best=() digests=()
keep() {  # name rate: remembers the best rate of a name
  if [ "${best[$1]:-0}" -lt "$2" ]; then best[$1]=$2; fi
}
for _ in $(seq "$rounds"); do
  keep cat "$(cpu_rate cat "$file")"
  keep md5sum "$(cpu_rate md5sum "$file")"
  keep sha1sum "$(cpu_rate sha1sum "$file")"
  keep openssl "$(cpu_rate openssl dgst -sha1 "$file")"
  while read -r name rate digest; do
    keep "$name" "$rate"
    digests[$name]=$digest
  done < <("$bench" "$file" 1)
done

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

if [ "${digests[MD5]}" != "$(md5sum "$file" | cut -d' ' -f1)" ]; then
  echo "MD5 digest differs from md5sum"
  failed=1
fi
if [ "${digests[SHA1]}" != "$(sha1sum "$file" | cut -d' ' -f1)" ]; then
  echo "SHA-1 digest differs from sha1sum"
  failed=1
fi

echo "page cache read (cat): ${best[cat]} MB/s"
compare "MD5" "${best[MD5]}" "${best[md5sum]}" md5sum 0.95
compare "SHA-1" "${best[SHA1]}" "${best[openssl]}" "openssl dgst -sha1" 0.9
compare "SHA-1 portable" "${best[SHA1-portable]}" "${best[sha1sum]}" sha1sum 0.9
echo -n "CRC-32: ${best[CRC32]} MB/s (budget >= 2000 MB/s) "
verdict "${best[CRC32]}" 2000
echo "CRC-32 portable: ${best[CRC32-portable]} MB/s"
exit "$failed"
