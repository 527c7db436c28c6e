#!/usr/bin/env bash
# Installs what the fuzz targets need beyond scripts/install-deps.sh: clang
# with its compiler-rt (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer).
# Only for fuzzing; the program and its tests do not need it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

# True when clang++ links a libFuzzer target with both sanitizers.
fuzzer_links() {
  command -v clang++ >/dev/null 2>&1 || return 1
  local probe
  probe=$(mktemp -d)
  trap 'rm -rf "$probe"' RETURN
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' >"$probe/t.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$probe/t.cpp" -o "$probe/t" >/dev/null 2>&1
}

if fuzzer_links; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends clang libclang-rt-dev 2>/dev/null ||
  "${sudo_cmd[@]}" apt-get install -y --no-install-recommends clang
