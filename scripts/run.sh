#!/usr/bin/env bash
# Builds the programs (release). Without arguments it starts the window soramine when there is
# a display, and otherwise says how to start it and runs the job example of the README with
# soramine-cli. With arguments it runs soramine-cli with them.
set -euo pipefail
here="$(pwd)"
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DSORAMINE_TESTS=OFF >&2
if [ "$#" -gt 0 ]; then
  cmake --build build-release -j"$(nproc)" --target soramine-cli >&2
  cli="$(pwd)/build-release/src/cli/soramine-cli"
  cd "$here"
  exec "$cli" "$@"
fi
cmake --build build-release -j"$(nproc)" --target soramine soramine-cli >&2
gui="$(pwd)/build-release/src/gui/soramine"
cli="$(pwd)/build-release/src/cli/soramine-cli"
cd "$here"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$gui"
fi
echo "No display: start the window on a desktop with $gui [FOLDER...]," >&2
echo "or on a virtual one with: xvfb-run -a $gui. Running the job example instead." >&2
trip="$(mktemp -d)"
touch "$trip/IMG_0001.jpg" "$trip/IMG_0002.jpg"
"$cli" make-job "$trip/trip.qrn" --method 置換 --folder "$trip" --ext jpg \
  --flag 自動回避=1 --set 変更前=IMG_ --set 変更後=photo_
"$cli" show-job "$trip/trip.qrn"
"$cli" preview "$trip/trip.qrn"
"$cli" run "$trip/trip.qrn"
"$cli" undo
ls "$trip"
