#!/usr/bin/env bash
# Builds with ThreadSanitizer and runs the tests whose work runs on a thread of its own while
# the caller goes on: the core's item loops, the undo journal's flushing thread and the tag
# writer's releasing thread, and the window's live column of new names.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DSORAMINE_BENCH=OFF -DSORAMINE_GUI=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -O1 -g" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build-tsan -j"$(nproc)" --target core_tests gui_live_names >/dev/null
TSAN_OPTIONS="halt_on_error=1" build-tsan/tests/core_tests --gtest_filter='RunGuard.*:JournalledRun.*:Mp3Page.*'
QT_QPA_PLATFORM="offscreen:configfile=$PWD/tests/gui/offscreen_screen.json" \
  TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/gui/tsan.supp" \
  build-tsan/tests/gui/gui_live_names
