#!/usr/bin/env bash
# Runs every fuzz target, sharing a bounded total time among them; each is seeded with
# the example data files and with fuzz/seeds/<target>/ when that folder exists.
set -uo pipefail
build=$(realpath "$1")
total=$2
top=$(cd "$(dirname "$0")/.." && pwd)
targets=()
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] && targets+=("$target")
done
[ "${#targets[@]}" -gt 0 ] || { echo "no fuzz targets in $build/fuzz"; exit 1; }
seconds=$(( total / ${#targets[@]} ))
[ "$seconds" -ge 1 ] || seconds=1
# The targets write files on every run; in memory, a sync costs nothing.
scratch=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm
for target in "${targets[@]}"; do
  name=$(basename "$target")
  work=$(mktemp -d -p "$scratch")
  mkdir "$work/corpus"
  cp "$top"/examples/*.dat "$work/corpus"/
  [ -d "$top/fuzz/seeds/$name" ] && cp "$top/fuzz/seeds/$name"/* "$work/corpus"/
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
