#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the test suite, the
# same suite built with AddressSanitizer and UndefinedBehaviorSanitizer, and
# each fuzz target for a bounded time (FUZZ_SECONDS, default 60).
# QUICK=1 runs the plain suite only.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

echo "== build and test"
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$(nproc)"

[ "${QUICK:-0}" = 1 ] && exit 0

echo "== build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/build.sh build-asan -DLARKSPUR_SANITIZE=ON -DLARKSPUR_BENCH=OFF
# Leaks and a mismatched delete inside the browser engine are not ours to chase.
ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

echo "== fuzz"
bash scripts/fuzz.sh
