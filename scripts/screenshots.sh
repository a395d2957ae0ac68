#!/usr/bin/env bash
# Renders a picture of each tab of the window into docs/screenshots/: the Release program
# starts in a virtual X server on a scratch data folder (the sample archive, a few stakes
# made with the command-line tool and a scenario), saves the pictures, runs a back-test of
# the scenario with pictures during and after it, and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DPELKO_BUILD_TESTS=OFF -DPELKO_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --parallel 2 --target Pelko_6x45 pelko6x45-cli

scratch="$(mktemp -d -t pelko6x45-shots.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p docs/screenshots

# A few stakes on the last draws of the sample archive, so the stakes tab has checked
# stakes (matches, profits) and one still waiting for its draw.
cli() { build/release/src/cli/pelko6x45-cli --data-dir "$scratch" "$@" >/dev/null; }
cat > "$scratch/Pelko_6x45.ini" <<'INI'
[STAKES]
Cost=100
Profits=4
Profit_0_Overlap=3
Profit_0_Profit=300
Profit_1_Overlap=4
Profit_1_Profit=2000
Profit_2_Overlap=5
Profit_2_Profit=50000
Profit_3_Overlap=6
Profit_3_Profit=1000000
INI
cli draws import share/sample_draws.csv
last=$(tail -n 1 share/sample_draws.csv | cut -d';' -f1)
cli stakes add "3;5;6;12;13;18" --draw $((last - 4)) --draws 5 --comment "Мои числа"
cli stakes add "10;13;18;22;26;33;40;44" --draw $((last - 1)) --comment "Расширенная ставка"
cli stakes add "1;7;14;21;28;35" --draw $((last + 1)) --comment "На следующий тираж"
# Two regular stakes, back-tested over the last 10 draws, so the regulars and the rating
# have rows besides the back-test's.
cli regulars add --comment "Шаг 1" --start "1;7;14;21;28;35" --step 1
cli regulars add --comment "Прошлый тираж, шаг -2" --last-draw --step -2
cli regulars test --draws 10
# The benchmark scenario as the working scenario: after the tab pictures the window runs a
# back-test of it over 3 draws and takes the scenario and stakes tabs during and after it.
cli scenario load bench/scenarios/backtest.lsc
PELKO_UNATTENDED=1 xvfb-run -a -s "-screen 0 1280x800x24" \
  build/release/src/ui/Pelko_6x45 --data-dir "$scratch" --screenshots "$PWD/docs/screenshots"
ls -1 docs/screenshots/*.png
