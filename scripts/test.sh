#!/usr/bin/env bash
# Runs every test: set-up, then a build under AddressSanitizer and UndefinedBehaviorSanitizer and
# the whole suite through ctest. Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

# The sources follow the tree's style (.clang-format; scripts/format.sh applies it).
"$root/scripts/format.sh" --check

build=$root/build/sanitize
# The office extension is tested from the set-up's optimised tree (see tests/CMakeLists.txt).
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTEZLO_SANITIZE=ON \
  -DTEZLO_WERROR=ON -DTEZLO_OFFICE_OXT="$root/build/release/tezlo.oxt" >/dev/null
cmake --build "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# The Excel add-in for Windows: cross-built for 64 and 32 bits and tested under Wine.
"$root/scripts/windows.sh"
