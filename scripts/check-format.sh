#!/usr/bin/env bash
# Fails when a C++ source of the project drifts from .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' 2>/dev/null ||
                     find src tests bench -name '*.cpp' -o -name '*.h')
[ "${#files[@]}" -eq 0 ] && exit 0
bad=0
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if ! clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then
    echo "not formatted: $f (run: clang-format -i $f)"
    bad=1
  fi
done
exit $bad
