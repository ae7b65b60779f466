# Sourced by the package checks: builds the Debian package of the build folder $1 into a
# temporary folder $out, removed on exit, and sets $deb to the package.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
