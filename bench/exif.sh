#!/usr/bin/env bash
# Exif benchmarks over 10,000 JPEG files of 200 KiB each, page cache warm, whole processes
# into a pipe, taking turns, medians:
#  - the Exif sort ("soramine-cli list --order exif-old") against a bare loop that lists the
#    folder and reads the first 64 KiB of each file (budget 2x);
#  - the preview of date-in-name from the Exif date against that sort (budget 1.2x).
# Usage: bench/exif.sh CLI HEAD_READ_BENCH
set -euo pipefail
cli="$(realpath "$1")"
reference="$(realpath "$2")"
cd "$(dirname "$0")/.."
source bench/lib.sh
[ "$runs" -ge 5 ] || runs=5
work="${BENCH_DIR:-/tmp/soramine-bench}/exif"

make_files() {
  if [ ! -f "$work/.photos" ]; then
    rm -rf "$work"
    mkdir -p "$work/photos"
  python3 - "$work/photos" <<'PY'
import struct, sys
folder = sys.argv[1]
def jpeg(n):
    date = b"20%02d:%02d:%02d %02d:%02d:%02d\0" % (n % 20, n % 12 + 1, n % 28 + 1, n % 24, n % 60, n % 60)
    e = "<"
    exif_off, date_off = 8 + 18, 8 + 18 + 18
    ifd0 = struct.pack(e + "H", 1) + struct.pack(e + "HHII", 0x8769, 4, 1, exif_off) + b"\0" * 4
    exif = struct.pack(e + "H", 1) + struct.pack(e + "HHII", 0x9003, 2, 20, date_off) + b"\0" * 4
    tiff = b"II*\0" + struct.pack(e + "I", 8) + ifd0 + exif + date
    app1 = b"Exif\0\0" + tiff
    head = b"\xff\xd8\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1
    head += b"\xff\xdb\x00\x43" + bytes(65) + b"\xff\xda"
    return head + bytes((n + i) % 251 for i in range(256)) * ((200 * 1024 - len(head)) // 256 + 1)
for n in range(10000):
    with open("%s/IMG_%05d.jpg" % (folder, n), "wb") as f:
        f.write(jpeg(n)[: 200 * 1024])
PY
    touch "$work/.photos"
  fi
  "$cli" make-job "$work/date.qrn" --method 日時 --folder "$work/photos" --ext jpg \
    --set 時間=2 --set 形式=YYYYMMDD_hhmmss >/dev/null
}

nothing() { :; }

failed=0
make_files
echo "load average $(cut -d' ' -f1-3 /proc/loadavg); $runs runs each, medians"
sort_cmd=("$cli" list --order exif-old --ext jpg "$work/photos")
"${sort_cmd[@]}" >/dev/null 2>&1
"$reference" "$work/photos" >/dev/null
sort_exif() { "${sort_cmd[@]}" 2>/dev/null; }
read_heads() { "$reference" "$work/photos"; }
preview_date() { "$cli" preview "$work/date.qrn" 2>/dev/null; }
read -r ours theirs <<<"$(take_turns nothing sort_exif nothing read_heads)"
verdict "Exif sort of 10000 files of 200 KiB" "$ours" "$theirs" 2.0 "reading 64 KiB of each"
read -r ours theirs <<<"$(take_turns nothing preview_date nothing sort_exif)"
verdict "date in name from Exif, preview of 10000 files" "$ours" "$theirs" 1.2 "the Exif sort"
exit $failed
