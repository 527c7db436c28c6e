#!/usr/bin/env bash
# Builds the Debian package of Orvane (orvane_<version>_<arch>.deb) with
# CPack in build-package/, without the tests and benchmarks.
#
#   scripts/package.sh            # then: sudo apt install ./build-package/orvane_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${PACKAGE_BUILD_DIR:-build-package}
bash scripts/install-deps.sh
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVANE_BUILD_TESTS=OFF -DORVANE_BUILD_BENCH=OFF
cmake --build "$build_dir" --parallel "$(nproc)"
(cd "$build_dir" && cpack -G DEB)
ls "$build_dir"/orvane_*.deb
