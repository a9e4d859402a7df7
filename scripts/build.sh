#!/usr/bin/env bash
# Builds the program into build/ (or the folder given as BUILD_DIR).
# Extra arguments go to CMake, e.g. -DPAVOKO_SANITIZE=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja "$@"
cmake --build "$BUILD_DIR"
