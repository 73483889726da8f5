#!/usr/bin/env bash
# Installs what is missing, builds Quintara and starts it.
# Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)" --target quintara
exec build/quintara "$@"
