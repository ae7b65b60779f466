#!/usr/bin/env bash
# The program's start, launch to the first paint of its main window, against a bare Qt
# main window with one menu, side by side:
#   bench/desktop_start.sh [BUILD] [RUNS]
# Needs a display: run it under Xvfb (DISPLAY=:N). Both programs are ended by
# first_paint_probe the moment their first window has painted.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-40}
[ -n "${DISPLAY:-}" ] || { echo "no display: start Xvfb and set DISPLAY"; exit 1; }
cmake --build "$build" --target velko first_paint_probe bare_window >/dev/null
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
probe=$(realpath "$build/bench/libfirst_paint_probe.so")
python3 bench/side_by_side.py --runs "$runs" --label "bare window,velko" -- \
  env LD_PRELOAD="$probe" "$build/bench/bare_window" --versus env LD_PRELOAD="$probe" "$build/app/velko"
