#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite twice: a
# normal build, then one with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

jobs="$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen

echo "== Build and test =="
"$root/scripts/build.sh" "$root/build" -DWAVIX_BENCH=ON
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== Build and test with -fsanitize=address,undefined =="
"$root/scripts/build.sh" "$root/build-asan" -DWAVIX_SANITIZE=ON -DWAVIX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"
echo "== All tests passed =="
