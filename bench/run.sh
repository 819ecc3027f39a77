#!/usr/bin/env bash
# Builds the release programs and runs every benchmark; each prints its ratio against a
# reference measured in the same run, and PASS or FAIL against its budget.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSORAMINE_TESTS=OFF -DSORAMINE_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" >/dev/null
bin=build-bench
for script in bench/*.sh; do
  [ "$(basename "$script")" = run.sh ] && continue
  echo "== $(basename "$script" .sh)"
  bash "$script" "$bin/src/cli/soramine-cli" "$bin"
done
