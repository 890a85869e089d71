#!/usr/bin/env bash
# Builds the optimised tree and runs the benchmarks; extra arguments go to Google Benchmark.
# With --office [REPEAT]: the tools inside LibreOffice Calc instead (bench/office_bench.py), through
# the extension built in the same optimised tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
TEZLO_BUILD_DIR=$root/build/bench "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEZLO_BENCH=ON >/dev/null
if [ "${1:-}" = "--office" ]; then
  shift
  cmake --build "$root/build/bench" --target tezlo_oxt tezlo_bench_books
  exec /usr/bin/python3 "$root/bench/office_bench.py" "$root/build/bench/tezlo.oxt" \
    "$root/build/bench/bench/tezlo_bench_books" "$@"
fi
cmake --build "$root/build/bench" --target tezlo_bench
"$root/build/bench/bench/tezlo_bench" "$@"
