#!/usr/bin/env bash
# Checks a built Debian package of Tuurbord: its control data, the installed layout it unpacks
# to, the menu entry and metainfo it carries, and lintian. Fails on the first problem.
#   bash tools/check-package.sh ./tuurbord_<version>_<arch>.deb
set -euo pipefail
deb=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

echo "== dpkg-deb -I $deb"
dpkg-deb -I "$deb" | sed -n '/Package:/,$p'
depends=$(dpkg-deb -f "$deb" Depends)
for want in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6multimedia6 \
            fonts-liberation2 fonts-comic-neue qt6-translations-l10n; do
  case ", $depends," in *" $want"[\ ,\(]*) ;; *) echo "missing dependency: $want" >&2; exit 1 ;; esac
done
case "$(dpkg-deb -f "$deb" Recommends)" in *cups*) ;; *) echo "cups is not recommended" >&2; exit 1 ;; esac
case "$depends" in *cups*) echo "cups must be a recommendation, not a dependency" >&2; exit 1 ;; esac

echo "== the installed layout"
dpkg-deb -x "$deb" "$dir/root"
for f in usr/bin/tuurbord usr/share/tuurbord/sounds/camera.wav usr/share/tuurbord/help/help.htm \
         usr/share/tuurbord/plaatjes/dieren/koe.jpg usr/share/tuurbord/plaatjes/gebruiksvoorwerpen/fiets.jpg \
         usr/share/applications/nl.tuurbord.Tuurbord.desktop usr/share/metainfo/nl.tuurbord.Tuurbord.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/nl.tuurbord.Tuurbord.svg usr/share/doc/tuurbord/copyright \
         usr/share/doc/tuurbord/changelog.gz usr/share/man/man6/tuurbord.6.gz; do
  [ -e "$dir/root/$f" ] || { echo "not in the package: /$f" >&2; exit 1; }
done
for size in 16 32 48 64 128 256; do
  [ -e "$dir/root/usr/share/icons/hicolor/${size}x${size}/apps/nl.tuurbord.Tuurbord.png" ] ||
    { echo "no ${size}x${size} icon" >&2; exit 1; }
done
echo "$(find "$dir/root" -type f | wc -l) files, as expected"

echo "== desktop-file-validate and appstreamcli"
desktop-file-validate "$dir/root/usr/share/applications/nl.tuurbord.Tuurbord.desktop"
appstreamcli validate --no-net "$dir/root/usr/share/metainfo/nl.tuurbord.Tuurbord.metainfo.xml"

echo "== lintian"
lintian --fail-on error,warning "$deb"
echo "package checks passed: $deb"
