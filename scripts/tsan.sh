#!/usr/bin/env bash
# Builds the core tests with ThreadSanitizer and runs the tests whose item loop runs on a
# worker thread while the caller keeps using the session.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DSORAMINE_BENCH=OFF -DSORAMINE_GUI=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -O1 -g" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build-tsan -j"$(nproc)" --target core_tests >/dev/null
TSAN_OPTIONS="halt_on_error=1" build-tsan/tests/core_tests --gtest_filter='RunGuard.*:JournalledRun.*:Mp3Page.*'
