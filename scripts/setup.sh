#!/usr/bin/env bash
# Installs the Debian packages of packages.txt that are missing (as root, through apt), then
# configures and builds the project. Safe to run again: it installs and rebuilds only what changed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$root/packages.txt")
# Packages of another architecture (the 32-bit Wine, "wine32:i386") need it enabled once.
for arch in $(printf '%s\n' "${wanted[@]}" | sed -n 's/^[^:]*:\([a-z0-9]*\)$/\1/p' | sort -u); do
  if ! dpkg --print-foreign-architectures | grep -qx "$arch" && [ "$arch" != "$(dpkg --print-architecture)" ]; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "setup: the $arch architecture is not enabled and enabling it needs root" >&2
      exit 1
    fi
    echo "setup: enabling the $arch architecture"
    dpkg --add-architecture "$arch"
  fi
done
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=${TEZLO_BUILD_DIR:-$root/build/release}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTEZLO_TESTS=OFF >/dev/null
cmake --build "$build"
