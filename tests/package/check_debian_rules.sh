#!/usr/bin/env bash
# Builds the Debian package and holds it to Debian's own checks: lintian, with every tag it
# reports (infos and pedantic ones too) a failure unless the package overrides it, and the
# AppStream validator on the installed tree. Also keeps the manual page of velko-batch in
# step with its --help.
source "$(dirname "$0")/build_package.sh" "$1"
failed=0

# lintian warns on stderr when run as root; its findings go to stdout.
status=0
tags=$(lintian -I --pedantic "$deb" 2>"$out/lintian.err") || status=$?
if [ -n "$tags" ] || [ "$status" -ne 0 ]; then
  echo "lintian (exit $status):"
  if [ -n "$tags" ]; then echo "$tags"; else cat "$out/lintian.err"; fi
  failed=1
fi

dpkg-deb -x "$deb" "$out/root"
if ! appstream=$(appstreamcli validate-tree --no-net --pedantic "$out/root" 2>&1) ||
    grep -qE '^[EWIP]: ' <<<"$appstream"; then
  echo "appstreamcli:"; echo "$appstream"; failed=1
fi

page=$(zcat "$out/root/usr/share/man/man1/velko-batch.1.gz" | sed 's/\\-/-/g')
for option in $("$build/velko-batch" --help | grep -oE -- '(^| )--?[a-z][a-z-]*' | sort -u); do
  grep -qe "$option" <<<"$page" || { echo "velko-batch(1) lacks $option"; failed=1; }
done

[ "$failed" -eq 0 ] && echo "lintian, appstreamcli and the manual page ok: $(basename "$deb")"
exit "$failed"
