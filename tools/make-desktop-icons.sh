#!/bin/sh
# Regenerate the desktop icons of Tuurbord in assets/desktop/icons/ (hicolor
# icon theme layout) from the program icon sources in tools/artwork/:
#
#   tuurbord-small.svg  -> 16x16 (drawn on the 16-pixel grid, stays sharp)
#   tuurbord.svg        -> 32x32, 48x48, 64x64, 128x128, 256x256
#   tuurbord.svg        -> scalable/apps/nl.tuurbord.Tuurbord.svg
#
# The scalable copy is the same drawing, made self-contained for older SVG
# readers: every internal reference gets an xlink:href next to its href.
# The script stops if the drawing refers to anything outside itself.
#
# Needs: rsvg-convert (Debian package librsvg2-bin) and ImageMagick's convert;
# xmllint (libxml2-utils) is used to check the SVG copy when it is installed.
#
# Usage: sh tools/make-desktop-icons.sh
set -eu

cd "$(dirname "$0")/.."
SRC=tools/artwork
OUT=assets/desktop/icons/hicolor
ID=nl.tuurbord.Tuurbord

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# render SOURCE SIZE: one PNG with alpha channel, without time stamps.
render() {
    src=$1 n=$2
    dir=$OUT/${n}x${n}/apps
    mkdir -p "$dir"
    rsvg-convert --width="$n" --height="$n" "$SRC/$src.svg" -o "$TMP/$n.png"
    convert "$TMP/$n.png" -strip -define png:exclude-chunks=date,time "PNG32:$dir/$ID.png"
    echo "$dir/$ID.png"
}

render tuurbord-small 16
for n in 32 48 64 128 256; do
    render tuurbord "$n"
done

# Scalable icon. Only references inside the file (href="#...", url(#...)) are allowed.
if grep -Eq '(href="[^#]|url\([^#])' "$SRC/tuurbord.svg"; then
    echo "$SRC/tuurbord.svg refers to something outside the file" >&2
    exit 1
fi
mkdir -p "$OUT/scalable/apps"
svg=$OUT/scalable/apps/$ID.svg
sed -e '/xmlns:xlink=/!s|<svg xmlns="http://www.w3.org/2000/svg"|<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"|' \
    -e '/xlink:href=/!s|<use href="\(#[^"]*\)"|<use href="\1" xlink:href="\1"|g' \
    "$SRC/tuurbord.svg" >"$TMP/icon.svg"
if command -v xmllint >/dev/null 2>&1; then
    xmllint --noout "$TMP/icon.svg"
fi
cp "$TMP/icon.svg" "$svg"
echo "$svg"
