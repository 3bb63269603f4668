#!/usr/bin/env bash
# Sets up a fresh machine and runs every test under AddressSanitizer and
# UndefinedBehaviorSanitizer. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
# ccache (installed with the rest) makes a rebuild after a small change quick.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRIRERAZO_SANITIZE=ON \
      -DRIRERAZO_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build build-asan -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leaks inside system libraries the desktop tests load (fonts, Qt's caches) are not ours.
export LSAN_OPTIONS=suppressions=$PWD/tests/desktop/lsan.supp
# LeakSanitizer's own tracer now and then crashes while scanning the threads of a process
# that is ending (a desktop test had passed, then "Tracer caught signal 11"): a failed test
# gets one more try. A real failure fails both, and the first try's output stays in the log.
ctest --test-dir build-asan --output-on-failure -j2 --repeat until-pass:2
