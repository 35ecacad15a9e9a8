#!/usr/bin/env bash
# Runs the hand-made mutants of tests/mutants/mutants.txt: scripts/mutants.sh [NAME...]
# Copies the tree (as it stands, uncommitted changes included) to
# build-mutants/src, builds it once in build-mutants/src/build, then for each
# mutant: applies it, rebuilds, runs the test the list names and, when that
# stays green, the whole suite; then puts the file back. Prints one line per
# mutant and the survivors at the end; exits 1 when any survived or is stale.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
list="$root/tests/mutants/mutants.txt"
work="$root/build-mutants"
src="$work/src"
# Inside the copy, where build/ sits in the tree: the compiler cache then
# serves the first build from the ordinary one.
build="$src/build"
jobs="$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen

mkdir -p "$src"
# Only files that differ are written, so that make sees what changed since the
# last run (an interrupted run may have left a mutant behind).
(cd "$root" && git ls-files -co --exclude-standard -z) | python3 -c '
import os, shutil, sys
root, src = sys.argv[1], sys.argv[2]
for name in sys.stdin.buffer.read().decode().split("\0"):
    if not name or not os.path.isfile(os.path.join(root, name)):
        continue
    a, b = os.path.join(root, name), os.path.join(src, name)
    if os.path.isfile(b) and open(a, "rb").read() == open(b, "rb").read():
        continue
    os.makedirs(os.path.dirname(b), exist_ok=True)
    shutil.copyfile(a, b)
    shutil.copymode(a, b)
' "$root" "$src"
"$src/scripts/build.sh" "$build" -DWAVIX_BENCH=OFF >/dev/null 2>"$work/build.log" \
  || { echo "the unmutated tree does not build: $work/build.log" >&2; exit 2; }
grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$src" "$build/CMakeCache.txt" \
  || { echo "$build is not a build of $src" >&2; exit 2; }
# One test per line: name, file, test, from, to (\n and \\ escaped).
mapfile -t entries < <(python3 - "$list" "$@" <<'PY'
import sys
path, wanted = sys.argv[1], set(sys.argv[2:])
keys = ("name", "file", "test", "from", "to")
blocks, block, key = [], {}, None
for line in open(path, encoding="utf-8").read().split("\n") + [""]:
    if line.startswith("#"):
        continue
    if not line.strip():
        if block:
            blocks.append(block)
        block, key = {}, None
        continue
    head, _, rest = line.partition(":")
    if head in keys:
        key = head
        block[key] = rest[1:] if rest.startswith(" ") else rest
    elif key in ("from", "to"):
        block[key] += "\n" + line
    else:
        sys.exit("mutants.txt: stray line: " + line)
for b in blocks:
    missing = [k for k in keys if k not in b]
    if missing:
        sys.exit("mutants.txt: %s lacks %s" % (b.get("name", "?"), ", ".join(missing)))
    if wanted and b["name"] not in wanted:
        continue
    print("\t".join(b[k].replace("\\", "\\\\").replace("\n", "\\n") for k in keys))
PY
)

# apply FILE FROM TO: replaces the one occurrence; fails when there is not exactly one.
apply() {
  python3 - "$@" <<'PY'
import sys
def unescape(s):
    return s.replace("\\n", "\n").replace("\\\\", "\\")
path, old, new = sys.argv[1], unescape(sys.argv[2]), unescape(sys.argv[3])
text = open(path, encoding="utf-8").read()
if text.count(old) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(old, new))
PY
}

survivors=()
stale=()
for entry in "${entries[@]}"; do
  IFS=$'\t' read -r name file test from to <<<"$entry"
  cp "$src/$file" "$work/original"
  if ! apply "$src/$file" "$from" "$to"; then
    echo "STALE    $name: the text to change does not stand once in $file"
    stale+=("$name")
    continue
  fi
  # The named test first, built alone; the whole tree only when it stays green.
  if ! cmake --build "$build" -j "$jobs" --target "$test" >"$work/$name.log" 2>&1; then
    verdict="killed   $name: does not build"
  elif ! ctest --test-dir "$build" -R "^$test\$" --output-on-failure >>"$work/$name.log" 2>&1; then
    verdict="killed   $name: by $test"
  elif ! cmake --build "$build" -j "$jobs" >>"$work/$name.log" 2>&1; then
    verdict="killed   $name: does not build"
  elif ! ctest --test-dir "$build" -j "$jobs" >>"$work/$name.log" 2>&1; then
    verdict="killed   $name: not by $test, by another test (see $work/$name.log)"
  else
    verdict="SURVIVED $name: $file, expected $test"
    survivors+=("$name")
  fi
  echo "$verdict"
  cp "$work/original" "$src/$file"
done
cmake --build "$build" -j "$jobs" >/dev/null 2>&1 || true

echo "${#entries[@]} mutants, ${#survivors[@]} survived, ${#stale[@]} stale"
[ ${#survivors[@]} -eq 0 ] && [ ${#stale[@]} -eq 0 ]
