#!/usr/bin/env bash
# Installs dependencies, builds Orvane with its tests and benchmarks, and runs
# every test. Usage: scripts/test.sh [--sanitize] [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
cmake_args=()
if [ "${1:-}" = "--sanitize" ]; then
  shift
  build_dir=build-sanitize
  cmake_args+=(-DORVANE_SANITIZE=ON)
fi

bash scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_args[@]}"
cmake --build "$build_dir" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" "$@"
