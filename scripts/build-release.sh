#!/usr/bin/env bash
# Builds what a user runs (the player, its desktop module, the demo character and the
# author tools) in build/, optimised. RIRERAZO_WERROR=ON turns warnings into errors (CI).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIRERAZO_TESTS=OFF -DRIRERAZO_BENCH=OFF \
      -DRIRERAZO_WERROR="${RIRERAZO_WERROR:-OFF}" "${launcher[@]}"
cmake --build build -j2 --target rirerazo rira_character rirerazo-char
