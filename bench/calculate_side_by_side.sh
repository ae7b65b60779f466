#!/usr/bin/env bash
# "Расчет" of whole processes at real sizes, side by side:
#   bench/calculate_side_by_side.sh [BUILD] [RUNS]
# On generated building-shaped networks of 10,000 and 100,000 works: velko-batch against
# the floor (a program that only reads the data file and writes a file of the size of
# velko.rez) and against a networkx script of the critical path method (100,000 only,
# fewer runs: it is slow). Prints medians of wall time, CPU time and peak memory with
# their ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --bench
top=$PWD
build=${1:-build}
runs=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for works in 10000 100000; do
  "$top/$build/bench/make_network" "$works" 4 1 > "net$works.dat"
  "$top/$build/velko-batch" "net$works.dat" > /dev/null
  bytes=$(stat -c %s velko.rez)
  echo "== $works works: velko-batch against reading the file and writing $bytes bytes"
  python3 "$top/bench/side_by_side.py" --runs "$runs" --label floor,velko-batch -- \
    "$top/$build/bench/read_write_floor" "net$works.dat" floor.out "$bytes" \
    --versus "$top/$build/velko-batch" "net$works.dat"
done
echo "== 100000 works: velko-batch against networkx"
python3 "$top/bench/side_by_side.py" --runs 3 --label networkx,velko-batch -- \
  python3 "$top/bench/cpm_networkx.py" net100000.dat networkx.out --versus "$top/$build/velko-batch" net100000.dat
