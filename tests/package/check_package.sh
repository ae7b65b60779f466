#!/usr/bin/env bash
# Builds the Debian package from a finished build folder and checks what it holds.
source "$(dirname "$0")/build_package.sh" "$1"
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/velko ./usr/bin/velko-batch ./usr/lib/velko/velko-batch-full \
    ./usr/lib/velko/libvelko_charts_report.so \
    ./usr/share/applications/velko.desktop \
    ./usr/share/icons/hicolor/scalable/apps/velko.svg ./usr/share/velko/examples/example.dat \
    ./usr/share/velko/examples/network20.dat ./usr/share/man/man1/velko.1.gz \
    ./usr/share/man/man1/velko-batch.1.gz ./usr/share/metainfo/.*.metainfo.xml \
    ./usr/share/doc/velko/copyright ./usr/share/doc/velko/changelog.gz; do
  grep -q " $path\$" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6printsupport6 libqt6svg6 qt6-qpa-plugins libgvc6 \
    libgecode49 coinor-libcbc3 coinor-libclp1 qt6-translations-l10n fonts-liberation; do
  grep -q "$package" <<<"$depends" || { echo "no dependency on $package: $depends"; exit 1; }
done
# Installed, the batch tool finds its full part in the private folder.
dpkg-deb -x "$deb" "$out/root"
(cd "$out" && "$out/root/usr/bin/velko-batch" --optimise --charts pictures \
    "$out/root/usr/share/velko/examples/example.dat" >/dev/null) || { echo "velko-batch --charts failed when installed"; exit 1; }
[ -s "$out/pictures/network.png" ] || { echo "no pictures from the installed batch tool"; exit 1; }
echo "package ok: $(basename "$deb")"
