#!/usr/bin/env bash
# Plays every script of examples/ headless and compares its trace with the stored one in
# tests/golden/examples/. A change of the player that alters what any example does shows
# here as a diff. With --update the stored traces are rewritten (review the diff!).
#   example_traces.sh PLAYER SOURCE_DIR CHARACTERS_DIR [--update]
set -euo pipefail
player=$1 source_dir=$2 characters=$3 update=${4:-}
golden=$source_dir/tests/golden/examples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$source_dir"
failed=0
for script in examples/*.vrn; do
  name=$(basename "$script" .vrn)
  args=(--headless --trace - --start-time 2026-12-07T15:05:00 --seed 1)
  [[ -f examples/$name.input ]] && args+=(--input "examples/$name.input")
  # The characters' folder differs from build to build; the trace names it as <characters>.
  RIRERAZO_CHARACTERS=$characters "$player" "${args[@]}" "$script" 2>/dev/null \
    | sed "s#$characters#<characters>#g" > "$work/$name.trace" || true
  if [[ $update == --update ]]; then
    cp "$work/$name.trace" "$golden/$name.trace"
  elif ! diff -u "$golden/$name.trace" "$work/$name.trace" > "$work/$name.diff"; then
    echo "$script: the trace differs from tests/golden/examples/$name.trace:"
    head -40 "$work/$name.diff"
    failed=1
  fi
done
[[ $update == --update ]] && echo "stored the traces of $(ls examples/*.vrn | wc -l) examples"
exit $failed
