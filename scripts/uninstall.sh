#!/usr/bin/env bash
# Removes what `make install` put in place, exactly the files listed in the build's install
# manifest (whose last line has no newline), then the program's own folders
# (share/velko/..., share/doc/velko) when that left them empty.
set -euo pipefail
manifest=$1/install_manifest.txt
if [ ! -f "$manifest" ]; then
  echo "Нечего удалять: нет $manifest (сначала make install)" >&2
  exit 1
fi
while IFS= read -r file || [ -n "$file" ]; do
  [ -n "$file" ] || continue
  rm -fv -- "$file"
  dir=$(dirname "$file")
  while [[ "$dir" == */velko || "$dir" == */velko/* ]]; do
    [ -d "$dir" ] && rmdir --ignore-fail-on-non-empty -- "$dir"
    dir=$(dirname "$dir")
  done
done <"$manifest"
