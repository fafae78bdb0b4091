#!/usr/bin/env bash
# Line coverage of the core and the window code, per folder. Builds the core
# and window tests (and the command-line tool the core tests run) with
# --coverage into build-coverage/ (or the folder given as $1), runs them, and
# prints a table. Kept folders are rebuilt incrementally. Not part of CI: it
# takes a build of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-coverage}

if ! command -v gcovr >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: gcovr"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends gcovr
fi

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="--coverage" \
  -DCMAKE_EXE_LINKER_FLAGS="--coverage" -DCMAKE_MODULE_LINKER_FLAGS="--coverage" \
  -DLARKSPUR_BENCH=OFF > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
targets=(core_tests larkspur-cli)
grep -q '^LARKSPUR_GUI:BOOL=ON' "$dir/CMakeCache.txt" && targets+=(gui_tests)
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"

# Counts from earlier runs would add up with this one.
find "$dir" -name '*.gcda' -delete
status=0
"$dir/tests/core_tests" --gtest_brief=1 > "$dir.core_tests.log" 2>&1 || status=$?
if [ -x "$dir/tests/gui_tests" ]; then
  QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
    QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" \
    "$dir/tests/gui_tests" --gtest_brief=1 > "$dir.gui_tests.log" 2>&1 || status=$?
fi
[ "$status" -eq 0 ] || echo "Some tests failed (see $dir.*_tests.log); coverage is of the run as it went."

# Our own sources only: not the tests, benchmarks, fuzz targets or generated files.
gcovr --root . --object-directory "$dir" --json-summary "$dir.summary.json" \
  --exclude 'tests/' --exclude 'bench/' --exclude 'fuzz/' --exclude "$dir/" \
  > /dev/null 2> "$dir.gcovr.log"
python3 - "$dir.summary.json" <<'EOF'
import collections, json, sys
folders = collections.defaultdict(lambda: [0, 0])
for f in json.load(open(sys.argv[1]))["files"]:
    name = f["filename"]
    folder = name.split("/")[0] if "/" in name else "."
    folders[folder][0] += f["line_covered"]
    folders[folder][1] += f["line_total"]
core = {"model", "css", "cli"}
def row(name, covered, total):
    print(f"{name:<10} {covered:>7} {total:>7} {100.0 * covered / max(total, 1):>7.1f}%")
print(f"{'folder':<10} {'covered':>7} {'lines':>7} {'cover':>8}")
for name in sorted(folders):
    row(name, *folders[name])
for label, members in (("core", core), ("window", set(folders) - core)):
    row(label, sum(folders[m][0] for m in members if m in folders),
        sum(folders[m][1] for m in members if m in folders))
EOF
exit "$status"
