#!/usr/bin/env bash
# The crew engine and the latest-finish rule side by side on a folder of standard
# single-mode instances, one after the other (one core), with one time limit each:
#   bench/psplib_run.sh BUILD_DIR FOLDER HRS_FILE [LIMIT_SECONDS] [PATTERN]
# e.g. bench/psplib_run.sh build ../shared/psplib/j30 ../shared/psplib/j30hrs.sm 10
# The best known (or optimal) makespans are read from HRS_FILE in place. Prints per
# instance one line, then the proven count, the mean deviations from the critical-path
# bound and from the best known makespans, the worst instance and the total time.
# With EFFORT=STEPS set, each run stops at that much of the engine's own effort instead
# (the same answer on a busy machine; 100,000,000 steps take about a second on an idle
# one) and LIMIT_SECONDS is only the safety net.
set -euo pipefail
build=$1 folder=$2 hrs=$3 limit=${4:-10} pattern=${5:-*.sm}
tool="$build/bench/psplib"
table=$(mktemp)
trap 'rm -f "$table"' EXIT
for file in $(ls "$folder"/$pattern | sort -V); do
  name=$(basename "$file" .sm)
  # j301_2 is parameter 1, instance 2 (j30 / j120 prefix).
  par=$(echo "$name" | sed -E 's/^j(30|60|90|120)([0-9]+)_([0-9]+)$/\2/')
  inst=$(echo "$name" | sed -E 's/^j(30|60|90|120)([0-9]+)_([0-9]+)$/\3/')
  known=$(awk -v p="$par" -v i="$inst" '$1 == p && $2 == i { print $3; exit }' "$hrs")
  if [ -n "${EFFORT:-}" ]; then
    engine=$("$tool" --effort "$EFFORT" --time-limit "$limit" "$file")
  else
    engine=$("$tool" --time-limit "$limit" "$file")
  fi
  rule=$("$tool" --rule "$file")
  cp=$(awk '/MPM-Time/ { getline; print $NF; exit }' "$file")  # the critical path, as the instance states it
  echo "$name $known $engine rule $(echo "$rule" | awk '{ print $2 }') cp $cp" | tee -a "$table"
done
# name known makespan M bound B status seconds S effort E rule R cp C
awk '
  { n++; m = $4; b = $6; s = $9; r = $13; cp = $15; k = $2
    proven += ($7 == "proven"); time += s
    dcp += 100 * (m - cp) / cp; dcpr += 100 * (r - cp) / cp; dk += 100 * (m - k) / k; dkr += 100 * (r - k) / k
    dkbest += 100 * (k - cp) / cp
    worse += (m > r); atknown += (m <= k)
    gap = 100 * (m - k) / k; if (n == 1 || gap > worst) { worst = gap; worstName = $1 " (" m " against " k ")" } }
  END {
    printf "instances %d, proven optimal %d, at or below the best known %d, worse than the rule %d\n", n, proven, atknown, worse
    printf "mean deviation from the critical-path bound: engine %.2f %%, rule %.2f %%, best known %.2f %%\n", dcp / n, dcpr / n, dkbest / n
    printf "mean deviation from the best known makespans: engine %.2f %%, rule %.2f %%\n", dk / n, dkr / n
    printf "worst instance: %s, %.2f %% above the best known\n", worstName, worst
    printf "total engine time %.1f s\n", time
  }' "$table"
