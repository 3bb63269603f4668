#!/usr/bin/env bash
# Sets up a fresh machine, builds the player and plays the demo script.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIRERAZO_TESTS=OFF -DRIRERAZO_BENCH=OFF
cmake --build build -j2 --target rirerazo
# Played headless, a short user-input script stands in for the visitor (see the file).
exec ./build/src/rirerazo --transcript --input examples/welcome.input examples/welcome.vrn
