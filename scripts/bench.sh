#!/usr/bin/env bash
# Builds the optimised tree and runs the benchmarks; extra arguments go to Google Benchmark.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
TEZLO_BUILD_DIR=$root/build/bench "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEZLO_BENCH=ON >/dev/null
cmake --build "$root/build/bench" --target tezlo_bench
"$root/build/bench/bench/tezlo_bench" "$@"
