#!/usr/bin/env bash
# The information window with a 2 MiB animated GIF of 100 frames: its first frame against
# Qt's own QMovie showing it in the same window (each in its own process, taking turns), and
# the share of a core the whole process uses while it animates.
# Usage: bench/picture.sh PICTURE_BENCH   (bench/run.sh passes the release program)
set -euo pipefail
bench="$(realpath "$1")"
cd "$(dirname "$0")/.."
source bench/lib.sh
[ "$runs" -ge 5 ] || runs=5
export QT_QPA_PLATFORM="offscreen:configfile=$PWD/tests/gui/offscreen_screen.json"
gif="$(mktemp --suffix=.gif)"
trap 'rm -f "$gif"' EXIT
"$bench" make "$gif"

failed=0
echo "load average $(cut -d' ' -f1-3 /proc/loadavg); $runs runs each, medians; $(stat -c %s "$gif") bytes"
a=() b=()
for _ in $(seq "$runs"); do
  a+=("$("$bench" ours "$gif")")
  b+=("$("$bench" movie "$gif")")
done
verdict "information window first frame" "$(printf '%s\n' "${a[@]}" | median)" \
  "$(printf '%s\n' "${b[@]}" | median)" 1.5 "QMovie"
shares=()
for _ in $(seq "$runs"); do
  share="$("$bench" cpu "$gif")" || { echo "the animation did not run"; failed=1; }
  shares+=("$share")
done
share=$(printf '%s\n' "${shares[@]}" | median)
ok=FAIL
if [ "$(echo "$share < 5" | bc -l)" = 1 ]; then ok=PASS; else failed=1; fi
printf 'animation: %.2f%% of one core (budget < 5%%) %s\n' "$share" "$ok"
exit $failed
