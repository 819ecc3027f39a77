#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test,
# the format check included; then a short smoke run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSORAMINE_SANITIZE=ON -DSORAMINE_WERROR=ON \
  -DSORAMINE_BENCH=OFF
cmake --build build-test -j"$(nproc)"
(cd build-test && ctest --output-on-failure -j"$(nproc)")
bash scripts/fuzz.sh "${FUZZ_SECONDS:-10}"
