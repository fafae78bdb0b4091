#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time
# (FUZZ_SECONDS, default 60). Any crash or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
dir=build-fuzz
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++-14 -DLARKSPUR_FUZZ=ON \
  -DLARKSPUR_GUI=OFF -DLARKSPUR_TESTS=OFF -DLARKSPUR_BENCH=OFF > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" -j"$(nproc)" > "$dir.build.log" 2>&1 || { cat "$dir.build.log"; exit 1; }

status=0
for target in "$dir"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=(fuzz/corpus/${name#fuzz_})
  # Inputs that once failed (replayed by the test suite too) seed the run.
  [ -d "fuzz/regressions/${name#fuzz_}" ] && seeds+=("fuzz/regressions/${name#fuzz_}")
  work=$dir/corpus/${name#fuzz_}
  mkdir -p "$work" "$dir/artifacts"
  log=$dir/$name.log
  # A target may bring a dictionary (fuzz/NAME.dict) and options of its own
  # (fuzz/NAME.options, one line of libFuzzer flags).
  extra=()
  [ -f "fuzz/$name.dict" ] && extra+=("-dict=fuzz/$name.dict")
  [ -f "fuzz/$name.options" ] && read -r -a opts < "fuzz/$name.options" && extra+=("${opts[@]}")
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 "${extra[@]}" \
       -artifact_prefix="$dir/artifacts/$name-" -print_final_stats=1 "$work" "${seeds[@]}" > "$log" 2>&1; then
    runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
    speed=$(grep -E '^stat::average_exec_per_sec' "$log" | awk '{print $2}')
    longest=$(find "$work" -type f -printf '%s\n' | sort -n | tail -1)
    echo "fuzz $name: ok, ${runs:-?} runs, ${speed:-?} execs/s, longest input ${longest:-0} bytes in ${seconds}s"
  else
    echo "fuzz $name: FAILED"
    tail -40 "$log"
    # The failing input, to keep under fuzz/regressions/ once it is mended.
    for found in "$dir/artifacts/$name-"*; do
      [ -f "$found" ] && echo "input $(basename "$found") (base64):" && base64 -w0 "$found" && echo
    done
    status=1
  fi
done
exit $status
