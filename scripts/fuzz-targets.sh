# Shared by the fuzz scripts: where each target's binary, folder and dictionary are.
# Source it from the project root after build-fuzz has been configured.

# Every target named in fuzz/*/CMakeLists.txt.
fuzz_target_names() {
  local dir
  for dir in fuzz/*/; do
    [[ -f $dir/CMakeLists.txt ]] || continue
    sed -n 's/^rirerazo_fuzz_target(\([A-Za-z0-9_]*\).*/\1/p' "$dir/CMakeLists.txt"
  done
}

fuzz_target_binary() { find build-fuzz/fuzz -type f -name "$1" -perm -u+x | head -1; }

fuzz_target_folder() { dirname "$(grep -l "rirerazo_fuzz_target($1" fuzz/*/CMakeLists.txt)"; }

# The target's checked-in inputs (seeds, regressions) that exist.
fuzz_target_inputs() {
  local dir extra
  dir=$(fuzz_target_folder "$1")
  for extra in seeds regressions; do [[ -d $dir/$extra ]] && echo "$dir/$extra"; done
  return 0
}

# libFuzzer's options for a target, one a line: the limits CI enforces, and its
# dictionary if any.
fuzz_target_options() {
  local dict
  printf '%s\n' -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
  dict=$(ls "$(fuzz_target_folder "$1")"/*.dict 2>/dev/null | head -1 || true)
  [[ -n $dict ]] && echo "-dict=$dict"
  return 0
}

# A figure of libFuzzer's final statistics (-print_final_stats=1) in log $1, or "?".
fuzz_log_stat() { grep -m1 -o "stat::$2: *[0-9]*" "$1" | grep -o '[0-9]*$' || echo '?'; }
