#!/usr/bin/env bash
# Starts the desktop program; with no display, says so and runs the batch tool on an
# example instead, in a scratch folder so the results file lands there.
set -euo pipefail
build=$1
example=$(realpath "$2")
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  if [ -x "$build/app/velko" ]; then
    exec "$build/app/velko"
  fi
fi
echo "Нет дисплея: окно программы показать негде. Расчет примера $2 пакетной программой:"
work=$(mktemp -d)
cd "$work"
"$OLDPWD/$build/velko-batch" --optimise "$example"
echo "Файл результатов: $work/velko.rez"
