#!/usr/bin/env bash
# Installs dependencies, builds Orvane and starts it. Arguments are passed on
# (an image file to open frozen, --help, --version, --demo). Without any
# /dev/video* device the demo camera is added, so the first start shows a
# live picture.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)" --target orvane
args=("$@")
if ! compgen -G "/dev/video*" > /dev/null && [[ " $* " != *" --demo "* ]]; then
  echo "No camera (/dev/video*) found: starting with the demo camera (--demo)." >&2
  args=(--demo "$@")
fi
exec build/src/app/orvane "${args[@]}"
