#!/usr/bin/env bash
# Installs dependencies, builds Orvane with its tests and benchmarks, and runs
# every test. Usage: scripts/test.sh [--sanitize | --tsan] [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
cmake_args=()
if [ "${1:-}" = "--sanitize" ]; then
  shift
  build_dir=build-sanitize
  cmake_args+=(-DORVANE_SANITIZE=ON)
elif [ "${1:-}" = "--tsan" ]; then
  shift
  build_dir=build-tsan
  cmake_args+=(-DORVANE_TSAN=ON)
  # GLib's and Qt's own locks are invisible to ThreadSanitizer; see the file.
  export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp halt_on_error=0 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
fi

bash scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_args[@]}"
cmake --build "$build_dir" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" "$@"
