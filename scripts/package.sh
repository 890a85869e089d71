#!/usr/bin/env bash
# Builds the Debian package of the tezlo program from the optimised tree that scripts/setup.sh
# sets up and builds (build/release, or TEZLO_BUILD_DIR), and prints the package's path.
#   scripts/package.sh [FOLDER]    the package goes to FOLDER (default build/package)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TEZLO_BUILD_DIR:-$root/build/release}
out=${1:-$root/build/package}

# The build's own output would mix with the path this script prints.
TEZLO_BUILD_DIR=$build "$root/scripts/setup.sh" >&2
mkdir -p "$out"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  exit 1
fi
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$out/cpack.log")
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  cat "$out/cpack.log" >&2
  echo "package: cpack named no package it made" >&2
  exit 1
fi
echo "$deb"
