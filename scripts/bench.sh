#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them, printing the median of ten
# repetitions of each: scripts/bench.sh [filter regex]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
build="$root/build-bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWAVIX_TESTS=OFF -DWAVIX_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
for bench in "$build"/bench/bench_*; do
  echo "== $(basename "$bench")"
  "$bench" --benchmark_filter="${1:-.}" --benchmark_repetitions=10 \
           --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '_median|^-|Benchmark' || true
done
