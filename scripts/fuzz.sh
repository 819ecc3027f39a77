#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given number of seconds (30).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
bash scripts/install-deps.sh
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSORAMINE_FUZZ=ON -DSORAMINE_WERROR=ON \
  -DSORAMINE_TESTS=OFF -DSORAMINE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null
for target in build-fuzz/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="tests/fuzz/seeds/${name#fuzz_}"
  echo "fuzzing $name for ${seconds}s"
  if [ -d "$seeds" ]; then
    "$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" "$seeds" 2>"build-fuzz/$name.log" ||
      { tail -50 "build-fuzz/$name.log"; exit 1; }
  else
    "$target" -max_total_time="$seconds" "$corpus" 2>"build-fuzz/$name.log" ||
      { tail -50 "build-fuzz/$name.log"; exit 1; }
  fi
done
echo "fuzzing done"
