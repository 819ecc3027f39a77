#!/usr/bin/env bash
# Builds the release programs and runs every benchmark; each prints its ratio against a
# reference measured in the same run, and PASS or FAIL against its budget. Exits 1 when any
# budget is missed.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2 || exit 2
bin=build-bench
cmake -S . -B "$bin" -DCMAKE_BUILD_TYPE=Release -DSORAMINE_TESTS=OFF -DSORAMINE_BENCH=ON >/dev/null &&
  cmake --build "$bin" -j"$(nproc)" >/dev/null || exit 2
failed=0
echo "== import"
bash bench/import.sh "$bin/src/cli/soramine-cli" || failed=1
echo "== digests"
bash bench/digests.sh "${BENCH_DIR:-/tmp/soramine-bench}/digest.bin" "$bin" || failed=1
echo "== collisions"
bash bench/collisions.sh "$bin/src/cli/soramine-cli" || failed=1
echo "== swaps"
bash bench/swaps.sh "$bin/src/cli/soramine-cli" || failed=1
echo "== regular expressions"
bash bench/regex.sh "$bin/src/cli/soramine-cli" || failed=1
echo "== engine"
bash bench/engine.sh "$bin/src/cli/soramine-cli" "$bin" || failed=1
echo "== exif"
bash bench/exif.sh "$bin/src/cli/soramine-cli" "$bin/bench/soramine-head-read-bench" || failed=1
echo "== file methods"
bash bench/file_methods.sh "$bin/src/cli/soramine-cli" || failed=1
echo "== names from text, script"
bash bench/text_script.sh "$bin/src/cli/soramine-cli" || failed=1
if [ -x "$bin/bench/soramine-gui-bench" ]; then
  echo "== window"
  bash bench/gui.sh "$bin/src/cli/soramine-cli" "$bin/bench/soramine-gui-bench" || failed=1
  echo "== single instance"
  bash bench/instance.sh "$bin/src/gui/soramine" "$bin/bench/soramine-gui-bench" || failed=1
  echo "== information window"
  bash bench/picture.sh "$bin/bench/soramine-picture-bench" || failed=1
  echo "== window execution with the undo journal"
  bash bench/gui_journal.sh "$bin/bench/soramine-gui-bench" || failed=1
  echo "== column of new names"
  bash bench/live_column.sh "$bin/src/cli/soramine-cli" "$bin/bench/soramine-gui-bench" || failed=1
fi
exit $failed
