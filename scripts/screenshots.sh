#!/usr/bin/env bash
# Pictures of the main window, the players and teams browsers, the match
# definition, the match chooser, the export window, the roster dialog and the match console with
# the example match (with its report page, the report choosers, the reports menu, the print
# previews of the basic report, points by players, the table summary and the diagrams, the large
# scoreboard as it opens and enlarged, and the saved quarters), as they look on a laptop's
# 1366x768 screen and on a 1920x1080 one, made under a virtual X server on a database of sample rows:
#   scripts/screenshots.sh   -> build/screenshots/1366x768/*.png, build/screenshots/1920x1080/*.png
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)" --target quintara_screenshots

for size in 1366x768 1920x1080; do
  # A display number nobody uses: other desks may take pictures at the same time.
  n=99
  while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  display=":$n"
  Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp > /dev/null 2>&1 &
  server=$!
  for _ in $(seq 100); do
    xdpyinfo -display "$display" > /dev/null 2>&1 && break
    sleep 0.1
  done
  mkdir -p "build/screenshots/$size"
  status=0
  DISPLAY="$display" QT_QPA_PLATFORM=xcb build/quintara_screenshots "build/screenshots/$size" || status=$?
  kill "$server" 2> /dev/null
  wait "$server" 2> /dev/null || true
  [ "$status" -eq 0 ] || exit "$status"
done
