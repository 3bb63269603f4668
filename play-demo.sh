#!/usr/bin/env bash
# Sets up a fresh machine, builds the player and plays the demo script.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIRERAZO_TESTS=OFF -DRIRERAZO_BENCH=OFF
cmake --build build -j2 --target rirerazo rira_character
exec ./build/src/rirerazo --transcript --realtime examples/welcome.vrn
