#!/usr/bin/env bash
# A later start that hands a folder to the running window: the whole second process against
# the window's own start-up to its first paint (soramine-gui-bench window), taking turns.
# Usage: bench/instance.sh SORAMINE GUI_BENCH   (bench/run.sh passes the release programs)
set -euo pipefail
program="$(realpath "$1")"
bench="$(realpath "$2")"
cd "$(dirname "$0")/.."
source bench/lib.sh
[ "$runs" -ge 5 ] || runs=5
export QT_QPA_PLATFORM="offscreen:configfile=$PWD/tests/gui/offscreen_screen.json"
XDG_CONFIG_HOME="$(mktemp -d)"
XDG_RUNTIME_DIR="$(mktemp -d)"
folder="$(mktemp -d)"
export XDG_CONFIG_HOME XDG_RUNTIME_DIR
touch "$folder"/photo{1..20}.jpg
"$program" >/dev/null 2>&1 &
first=$!
trap 'kill $first 2>/dev/null; rm -rf "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$folder"' EXIT
# The first instance listens once its socket is there.
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/soramine-$(id -u)" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/soramine-$(id -u)" ] || { echo "the first instance does not listen"; exit 2; }

failed=0
echo "load average $(cut -d' ' -f1-3 /proc/loadavg); $runs runs each, medians"
# The first instance imports what it was sent; it is left to finish before the next turn.
settle() { sleep 0.3; }
forward() { "$program" "$folder"; }
run_window() { "$bench" window; }
read -r second window < <(take_turns settle forward settle run_window)
verdict "second start forwarding a folder" "$second" "$window" 0.6 "window start-up to first paint"
kill -0 "$first" || { echo "the first instance ended"; failed=1; }
exit $failed
