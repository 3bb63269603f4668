#!/usr/bin/env bash
# Sets up a fresh machine, builds the player and plays the demo script.
set -euo pipefail
cd "$(dirname "$0")"
# The demo shows no slides: the office (for slide shows) is left out unless asked for.
RIRERAZO_OFFICE=${RIRERAZO_OFFICE:-0} bash scripts/install-deps.sh
bash scripts/build-release.sh
exec ./build/src/rirerazo --transcript --realtime examples/welcome.vrn
