#!/usr/bin/env bash
# Pictures of the main window, the players and teams browsers, the match
# definition, the match chooser, the export window and the roster dialog as they look on a
# 1366x768 screen, made under a virtual X server on a database of sample rows:
#   scripts/screenshots.sh            -> build/screenshots/*.png
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)" --target quintara_screenshots

display=:99
started=""
if ! xdpyinfo -display "$display" > /dev/null 2>&1; then
  Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp > /dev/null 2>&1 &
  started=$!
  trap 'kill "$started" 2> /dev/null; wait "$started" 2> /dev/null || true' EXIT
  for _ in $(seq 100); do
    xdpyinfo -display "$display" > /dev/null 2>&1 && break
    sleep 0.1
  done
fi

mkdir -p build/screenshots
DISPLAY="$display" QT_QPA_PLATFORM=xcb build/quintara_screenshots build/screenshots
