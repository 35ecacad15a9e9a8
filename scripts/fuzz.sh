#!/usr/bin/env bash
# Fuzzing campaign with libFuzzer (clang): scripts/fuzz.sh [target] [seconds]
# Builds the fuzz targets into build-fuzz/ and runs the named one (or each in
# turn) for the given time (default 600 s), starting from its seed corpus.
# New interesting inputs collect in build-fuzz/corpus/<target>/; a crash is
# written to build-fuzz/ and belongs, once fixed, in tests/fuzz/crashes/<target>/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --fuzz
only="${1:-}"
seconds="${2:-600}"
dir="$root/build-fuzz"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DWAVIX_FUZZ=ON -DWAVIX_BENCH=OFF >/dev/null
names=()
for source in "$root"/tests/fuzz/fuzz_*.cpp; do
  name="$(basename "$source" .cpp)"; name="${name#fuzz_}"
  [ -n "$only" ] && [ "$only" != "$name" ] && continue
  names+=("$name")
done
[ ${#names[@]} -gt 0 ] || { echo "no fuzz target named $only" >&2; exit 2; }
# Only the targets and what they link: the rest of the tree is not needed here.
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" --target "${names[@]/#/fuzz_}"
for name in "${names[@]}"; do
  mkdir -p "$dir/corpus/$name"
  echo "== $name: $seconds s =="
  (cd "$dir" && "$dir/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
      "$dir/corpus/$name" "$root/tests/fuzz/corpus/$name")
done
