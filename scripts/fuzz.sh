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
  seeds=fuzz/corpus/${name#fuzz_}
  work=$dir/corpus/${name#fuzz_}
  mkdir -p "$work" "$dir/artifacts"
  log=$dir/$name.log
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -artifact_prefix="$dir/artifacts/$name-" -print_final_stats=1 "$work" "$seeds" > "$log" 2>&1; then
    runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
    speed=$(grep -E '^stat::average_exec_per_sec' "$log" | awk '{print $2}')
    echo "fuzz $name: ok, ${runs:-?} runs, ${speed:-?} execs/s in ${seconds}s"
  else
    echo "fuzz $name: FAILED"
    tail -40 "$log"
    status=1
  fi
done
exit $status
