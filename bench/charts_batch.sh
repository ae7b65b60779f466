#!/usr/bin/env bash
# The batch tool's charts on the largest networks, whole process, wall time and peak memory:
#   bench/charts_batch.sh [BUILD] [RUNS]
# writes the ladder networks of worst_networks.h (one worker per work: 2,499 moves; nine:
# 543 moves) as data files and times `velko-batch --optimise --charts` on each RUNS times.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ladder() {  # the same network as velko::bench::ladderNetwork
  local workers=$1 rows=()
  for ((i = 1; i < 50; ++i)); do rows+=("$i,$((i + 1)),3,$workers,1"); done
  for ((i = 1; i + 2 <= 50 && ${#rows[@]} < 100; ++i)); do rows+=("$i,$((i + 2)),2,$workers,1"); done
  for ((i = 1; i + 3 <= 50 && ${#rows[@]} < 100; ++i)); do rows+=("$i,$((i + 3)),4,$workers,1"); done
  printf '1\r\n%s\r\n50\r\n' "${#rows[@]}"
  printf '%s\r\n' "${rows[@]}"
}
cd "$work"
for workers in 1 9; do
  ladder "$workers" > "ladder$workers.dat"
  for ((run = 1; run <= runs; ++run)); do
    rm -rf charts
    /usr/bin/time -f "ladder, $workers worker(s) per work: %e s wall, %U s user, %S s system, %M KB peak" \
      "$build/velko-batch" --optimise --charts charts "ladder$workers.dat" >/dev/null
  done
done
