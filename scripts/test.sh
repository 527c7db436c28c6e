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
  # The benchmarks are not part of the suite; the sanitized pass leaves them out.
  cmake_args+=(-DORVANE_SANITIZE=ON -DORVANE_BUILD_BENCH=OFF)
elif [ "${1:-}" = "--tsan" ]; then
  shift
  build_dir=build-tsan
  cmake_args+=(-DORVANE_TSAN=ON -DORVANE_BUILD_BENCH=OFF)
  # GLib's and Qt's own locks are invisible to ThreadSanitizer; see the file.
  export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp halt_on_error=0 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
fi

# ccache speeds up rebuilds when it is there; it is not required.
if command -v ccache >/dev/null 2>&1; then
  # Paths inside the checkout count relative to it, so another clone hits the same cache.
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=1
  cmake_args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

bash scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_args[@]}"
cmake --build "$build_dir" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" "$@"
