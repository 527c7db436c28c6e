#!/usr/bin/env bash
# Installs dependencies, builds Orvane and starts it. Arguments are passed on.
# The main window is not built yet: until it is, this starts the command-line
# companion orvane-tool (its help when no arguments are given).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)" --target orvane-tool
if [ $# -eq 0 ]; then
  set -- --help
fi
exec build/src/cli/orvane-tool "$@"
