#!/usr/bin/env bash
# Fuzzing campaign with libFuzzer (clang): scripts/fuzz.sh [target] [seconds]
# Builds every fuzz target into build-fuzz/ and runs the named one (or each in
# turn) for the given time (default 600 s), starting from its seed corpus.
# New interesting inputs collect in build-fuzz/corpus/<target>/; a crash is
# written to build-fuzz/ and belongs, once fixed, in tests/fuzz/crashes/<target>/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --fuzz
only="${1:-}"
seconds="${2:-600}"
dir="$root/build-fuzz"
CC=clang CXX=clang++ "$root/scripts/build.sh" "$dir" -DWAVIX_FUZZ=ON -DWAVIX_BENCH=OFF >/dev/null
for exe in "$dir"/fuzz/fuzz_*; do
  name="$(basename "$exe")"; name="${name#fuzz_}"
  [ -n "$only" ] && [ "$only" != "$name" ] && continue
  mkdir -p "$dir/corpus/$name"
  echo "== $name: $seconds s =="
  (cd "$dir" && "$exe" -max_total_time="$seconds" -print_final_stats=1 \
      "$dir/corpus/$name" "$root/tests/fuzz/corpus/$name")
done
