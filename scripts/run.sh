#!/usr/bin/env bash
# Sets everything up, builds the Release program and starts the window.
# The data folder is --data-dir DIR (passed on), else $PELKO_DATA_DIR, else
# ~/.local/share/Pelko_6x45; a new one gets the bundled sample archive.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DPELKO_BUILD_TESTS=OFF -DPELKO_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --parallel 2 --target Pelko_6x45

program=build/release/src/ui/Pelko_6x45
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display here; starting the window in a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$program" "$@"
fi
exec "$program" "$@"
