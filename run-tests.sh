#!/usr/bin/env bash
# Sets up a fresh machine and runs every test under AddressSanitizer and
# UndefinedBehaviorSanitizer. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRIRERAZO_SANITIZE=ON \
      -DRIRERAZO_BENCH=OFF
cmake --build build-asan -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leaks inside system libraries the desktop tests load (fonts, Qt's caches) are not ours.
export LSAN_OPTIONS=suppressions=$PWD/tests/desktop/lsan.supp
ctest --test-dir build-asan --output-on-failure -j2
