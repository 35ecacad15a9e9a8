#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh <dir> [extra cmake args]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build}"
shift || true
jobs="$(nproc 2>/dev/null || echo 2)"
launcher=()
# Rebuilds of several trees share one compiler cache when ccache is there.
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$jobs"
