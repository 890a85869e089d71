#!/usr/bin/env bash
# Formats the C++ sources under src, tests and bench with clang-format and the tree's .clang-format.
# With --check nothing is written: the files that would change are listed and the script exits
# non-zero when there is any.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
format=${CLANG_FORMAT:-clang-format}

command -v "$format" >/dev/null || { echo "format: $format not found" >&2; exit 2; }
cd "$root"
mapfile -d '' files < <(find src tests bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

case "${1:-}" in
  "")
    "$format" -i --style=file "${files[@]}"
    ;;
  --check)
    # One run over every file; each difference is reported as "FILE:LINE:COL: error: ...".
    differ=$("$format" --dry-run --Werror --style=file "${files[@]}" 2>&1 |
      sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*/\1/p' | sort -u) || true
    if [ -n "$differ" ]; then
      echo "format: these files differ from the tree's style (scripts/format.sh fixes them):" >&2
      sed 's/^/  /' <<<"$differ" >&2
      exit 1
    fi
    ;;
  *)
    echo "usage: $0 [--check]" >&2
    exit 2
    ;;
esac
