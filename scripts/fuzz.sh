#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) in build-fuzz and runs
# one of them for SECONDS seconds on its corpus. The seed corpus is made by the
# program's own writers at every run; what libFuzzer adds is kept in
# build-fuzz/corpus/TARGET, crashers in build-fuzz/crashes/TARGET.
# Usage: scripts/fuzz.sh TARGET SECONDS [extra libFuzzer options]
# TARGET: bmp jpeg jpeg_thumbnail jpeg_embedded_thumbnail png tiff gif results thumbnail_index settings subtype
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
  sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
target=$1
seconds=$2
shift 2

build_dir=build-fuzz
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build_dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_FUZZ=ON \
    "${launcher[@]}"
fi
cmake --build "$build_dir" --parallel "${FUZZ_BUILD_JOBS:-2}" --target "fuzz_$target" orvane_fuzz_seeds

# A folder per target, so that two targets can run side by side.
seeds="$build_dir/seeds-$target"
rm -rf "$seeds"
"$build_dir/fuzz/orvane_fuzz_seeds" "$seeds" >/dev/null
corpus="$build_dir/corpus/$target"
crashes="$build_dir/crashes/$target"
mkdir -p "$corpus" "$crashes"

# -rss_limit_mb: a reader that asks for far more than a picture needs is a finding.
exec "$build_dir/fuzz/fuzz_$target" "$corpus" "$seeds/$target" \
  -max_total_time="$seconds" -rss_limit_mb=2560 -malloc_limit_mb=1200 -timeout=20 \
  -artifact_prefix="$crashes/" -print_final_stats=1 "$@"
