#!/usr/bin/env bash
# Installs dependencies, builds Orvane and starts it. Arguments are passed on
# (an image file to open frozen, --help, --version, --demo).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)" --target orvane
exec build/src/app/orvane "$@"
