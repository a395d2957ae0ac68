#!/usr/bin/env bash
# Sets everything up, builds the test build and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# The test build: optimised (the engine tests walk all 8,145,060 combinations), with
# assertions and debug info kept light, no LTO.
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1" \
      -DPELKO_BUILD_TESTS=ON -DPELKO_BUILD_BENCH=OFF >/dev/null
cmake --build build/test --parallel 2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/test --output-on-failure --parallel 2 --timeout 600
