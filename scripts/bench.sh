#!/usr/bin/env bash
# Builds the benchmark programs in Release and runs each one; every program measures its
# baseline in the same run and prints its budgets as ratios ("... OK" / "... FAIL").
# Exit status: 1 when any program reported a budget it missed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DPELKO_BUILD_BENCH=ON -DPELKO_BUILD_TESTS=OFF -DPELKO_BUILD_GUI=OFF >/dev/null
cmake --build build/bench --parallel 2 --target pelko_benchmarks

status=0
for program in build/bench/bench/pelko_bench_*; do
  [ -x "$program" ] || continue
  echo "=== $(basename "$program")"
  if ! "$program" "$@"; then
    status=1
  fi
done
exit $status
