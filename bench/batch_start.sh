#!/usr/bin/env bash
# The batch tool's start against a core-only build of the same source, side by side:
#   bench/batch_start.sh [BUILD] [RUNS]
# configures and builds the core-only tool in BUILD-core (-DVELKO_GUI=OFF) when it is
# missing, then runs both on the same plain calculation (no --report, no --charts)
# alternately and prints the medians of wall time, CPU time and peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-40}
core="$build-core"
if [ ! -x "$core/velko-batch" ]; then
  cmake -S . -B "$core" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKO_GUI=OFF >/dev/null
  cmake --build "$core" --target velko-batch >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/network20.dat "$work/"
cd "$work"
python3 "$OLDPWD/bench/side_by_side.py" --runs "$runs" --label core-only,velko-batch -- \
  "$OLDPWD/$core/velko-batch" --optimise network20.dat --versus "$OLDPWD/$build/velko-batch" --optimise network20.dat
