#!/usr/bin/env bash
# The printed report's whole PDF at 100 to 100,000 works, whole processes side by side:
#   bench/report_scale.sh [BUILD] [RUNS]
# On generated building-shaped networks: velko-batch --optimise against the same with
# --report r.pdf, so the difference is the report's time and memory. Prints medians of
# wall time, CPU time and peak memory with their ratios; 100,000 works runs once.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=${1:-build}
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for works in 100 1000 10000 100000; do
  "$top/$build/bench/make_network" "$works" 4 1 > "net$works.dat"
  n=$runs
  [ "$works" -ge 100000 ] && n=1
  echo "== $works works: --optimise against --optimise --report"
  python3 "$top/bench/side_by_side.py" --runs "$n" --label optimise,report -- \
    "$top/$build/velko-batch" --optimise "net$works.dat" \
    --versus "$top/$build/velko-batch" --optimise --report r.pdf "net$works.dat"
  echo "pages: $(pdfinfo r.pdf | sed -n 's/^Pages: *//p')"
done
