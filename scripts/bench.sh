#!/usr/bin/env bash
# Builds an optimised tree and runs every benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export BUILD_DIR=${BUILD_DIR:-build-release}
bash scripts/build.sh -DCMAKE_BUILD_TYPE=Release -DPAVOKO_BENCH=ON
export QT_QPA_PLATFORM=offscreen
for bench in "$BUILD_DIR"/bench/*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" --benchmark_min_time=0.2
done
