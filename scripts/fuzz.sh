#!/usr/bin/env bash
# Fuzzes the xlsx reader with libFuzzer for SECONDS (default 600): builds the reader with clang 16
# in its own tree (build/fuzz), seeds a corpus from the test scripts and the inputs that once
# failed (tests/files/fuzz_findings, each run again first), then runs. Findings are
# written to build/fuzz/findings and make the script fail. The test suite runs it for 20 s.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
build=${TEZLO_FUZZ_BUILD_DIR:-$root/build/fuzz}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-16 \
  -DTEZLO_SANITIZE=ON -DTEZLO_WERROR=ON -DTEZLO_FUZZ=ON -DTEZLO_TESTS=OFF -DTEZLO_BENCH=OFF >/dev/null
# A failed build stops here: running the binary an earlier build left would fuzz stale code.
if ! cmake --build "$build" --target tezlo_files_fuzz >"$build/build.log" 2>&1; then
  cat "$build/build.log" >&2
  exit 1
fi

seeds=$build/seeds
corpus=$build/corpus
findings=$build/findings
mkdir -p "$corpus" "$findings"
/usr/bin/python3 "$root/tests/files/make_fuzz_seeds.py" "$seeds"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
"$build/src/files/tezlo_files_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=262144 \
  -timeout=20 -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds" "$root/tests/files/fuzz_findings"
