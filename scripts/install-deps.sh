#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Runs apt-get only when something is missing, so repeated `make` calls stay fast.
set -euo pipefail

PACKAGES=(
  cmake make g++ ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-svg-dev libgraphviz-dev libpng-dev
  libgecode-dev coinor-libcbc-dev coinor-libclp-dev libboost-dev
  fonts-liberation fonts-liberation2
  xvfb xauth poppler-utils
  lintian appstream
  locales
)
# Only for bench/calculate_side_by_side.sh (`install-deps.sh --bench`), without the
# plotting libraries it recommends.
BENCH_PACKAGES=(python3-networkx)

# The tests run a second time in the users' locale.
RUSSIAN_LOCALE=ru_RU.UTF-8

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # Waits for another apt run (an unattended upgrade, say) instead of failing at once.
  LOCK_WAIT=(-o DPkg::Lock::Timeout=600)
  $SUDO apt-get "${LOCK_WAIT[@]}" update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get "${LOCK_WAIT[@]}" install -y -q "${missing[@]}" </dev/null
fi

if [ "${1:-}" = "--bench" ]; then
  for p in "${BENCH_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "$p" </dev/null
    fi
  done
fi

# `locale -a` spells it ru_RU.utf8.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8'; then
  echo "Generating the locale $RUSSIAN_LOCALE"
  $SUDO sed -i 's/^# *\(ru_RU\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU\.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
