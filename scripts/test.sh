#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test,
# the format check included; then the ThreadSanitizer check of the worker-thread tests and a
# short smoke run of each fuzz target; last the Debian package, built from a release build,
# installed, run and removed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSORAMINE_SANITIZE=ON -DSORAMINE_WERROR=ON \
  -DSORAMINE_BENCH=OFF
cmake --build build-test -j"$(nproc)"
(cd build-test && ctest --output-on-failure -j"$(nproc)")
bash scripts/tsan.sh
bash scripts/fuzz.sh "${FUZZ_SECONDS:-10}"
bash scripts/package-test.sh
