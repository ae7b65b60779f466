#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Runs apt-get only when something is missing, so repeated `make` calls stay fast.
set -euo pipefail

PACKAGES=(
  cmake make g++ ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-svg-dev libgraphviz-dev libpng-dev
  fonts-liberation fonts-liberation2
  xvfb xauth poppler-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}" </dev/null
