#!/usr/bin/env bash
# Renders a picture of each tab of the window into docs/screenshots/: the Release program
# starts in a virtual X server on a scratch data folder (which gets the sample archive),
# saves the pictures and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DPELKO_BUILD_TESTS=OFF -DPELKO_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --parallel 2 --target Pelko_6x45

scratch="$(mktemp -d -t pelko6x45-shots.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p docs/screenshots
PELKO_UNATTENDED=1 xvfb-run -a -s "-screen 0 1280x800x24" \
  build/release/src/ui/Pelko_6x45 --data-dir "$scratch" --screenshots "$PWD/docs/screenshots"
ls -1 docs/screenshots/*.png
