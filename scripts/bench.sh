#!/bin/sh
# Builds and runs every benchmark (optimised build in build-bench/).
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-bench
for b in build-bench/benchmarks/*; do
  if [ -f "$b" ] && [ -x "$b" ]; then "$b" "$@"; fi
done
