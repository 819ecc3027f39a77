#!/usr/bin/env bash
# Builds the programs (release) and runs soramine-cli with the given arguments.
# Without arguments it lists the files of the current folder and its subfolders.
set -euo pipefail
here="$(pwd)"
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DSORAMINE_TESTS=OFF >&2
cmake --build build-release -j"$(nproc)" --target soramine-cli >&2
cli="$(pwd)/build-release/src/cli/soramine-cli"
cd "$here"
if [ "$#" -eq 0 ]; then
  exec "$cli" list --subfolders .
fi
exec "$cli" "$@"
