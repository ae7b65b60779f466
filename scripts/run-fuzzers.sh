#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, each seeded with the examples.
set -uo pipefail
build=$(realpath "$1")
seconds=$2
top=$(cd "$(dirname "$0")/.." && pwd)
found=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  work=$(mktemp -d)
  mkdir "$work/corpus"
  cp "$top"/examples/*.dat "$work/corpus"/
  echo "== $name for ${seconds}s"
  (cd "$work" && "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 corpus) >"$work/log" 2>&1
  status=$?
  tail -n 8 "$work/log"
  if [ "$status" -ne 0 ]; then
    echo "$name failed (exit $status); its log: $work/log"
    exit 1
  fi
  rm -rf "$work"
done
[ "$found" -eq 1 ] || { echo "no fuzz targets in $build/fuzz"; exit 1; }
