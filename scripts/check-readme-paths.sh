#!/usr/bin/env bash
# Every build/ path the README names exists after the README's first command has set up.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=0
for path in $(grep -o 'build/[A-Za-z0-9_./-]*[A-Za-z0-9_]' README.md | sort -u); do
  if [[ ! -e $path ]]; then
    echo "README names $path, which the set-up did not make"
    missing=1
  fi
done
exit $missing
