#!/usr/bin/env bash
# Builds every fuzz target (clang, instrumented) and runs each for a minute from its seeds
# and its saved regressions, three at a time (FUZZ_JOBS) so the step stays short on two
# cores. A crash, a leak, an input taking over 10 s or memory over 2 GB fails the run.
# FUZZ_SECONDS changes the minute.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-3}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIRERAZO_FUZZ=ON \
    -DRIRERAZO_TESTS=OFF -DRIRERAZO_BENCH=OFF "${launcher[@]}" > /dev/null
source scripts/fuzz-targets.sh
mapfile -t targets < <(fuzz_target_names)
cmake --build build-fuzz -j2 --target "${targets[@]}"

run_one() {
  local target=$1 binary corpus inputs options
  binary=$(fuzz_target_binary "$target")
  corpus=$(mktemp -d)
  mapfile -t inputs < <(fuzz_target_inputs "$target")
  mapfile -t options < <(fuzz_target_options "$target")
  options+=(-max_total_time="$seconds")
  inputs=("$corpus" "${inputs[@]}")
  if "$binary" "${options[@]}" "${inputs[@]}" > "$corpus.log" 2>&1; then
    echo "fuzz $target: $(fuzz_log_stat "$corpus.log" number_of_executed_units) runs, clean"
  else
    echo "fuzz $target: FAILED"; tail -40 "$corpus.log"; rm -rf "$corpus"; return 1
  fi
  rm -rf "$corpus" "$corpus.log"
}

failed=0
for ((i = 0; i < ${#targets[@]}; i += jobs)); do
  pids=()
  for target in "${targets[@]:i:jobs}"; do run_one "$target" & pids+=($!); done
  for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
done
exit $failed
