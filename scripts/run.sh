#!/usr/bin/env bash
# Sets everything up, builds the Release program and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DPELKO_BUILD_TESTS=OFF -DPELKO_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --parallel 2 --target pelko6x45-cli

# The window comes later; meanwhile the command line shows the sample archive imported
# into a scratch data folder.
data="${PELKO_DATA_DIR:-$(mktemp -d -t pelko6x45.XXXXXX)}"
cli=build/release/src/cli/pelko6x45-cli
echo "Data folder: $data"
echo -n "Imported draws: "
"$cli" --data-dir "$data" draws import share/sample_draws.csv
"$cli" --data-dir "$data" draws list
"$cli" --data-dir "$data" config show
