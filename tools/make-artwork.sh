#!/bin/sh
# Regenerate every PNG in assets/artwork/ (and the small pictures of the
# help page in assets/help/) from the hand-written SVG sources in
# tools/artwork/.
#
# Needs: rsvg-convert (librsvg) and ImageMagick's convert. The start
# picture's text is set in Comic Neue Bold, which must be installed
# (Debian/Ubuntu package fonts-comic-neue).
#
# Usage: sh tools/make-artwork.sh
set -eu

cd "$(dirname "$0")/.."
SRC=tools/artwork
OUT=assets/artwork
HELP=assets/help
mkdir -p "$OUT" "$HELP"

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# render NAME WIDTH HEIGHT KIND [TARGET]
#   KIND opaque: no alpha channel (box faces, start picture)
#   KIND alpha:  keeps the transparent background (icons)
render() {
    name=$1 w=$2 h=$3 kind=$4 target=${5:-$OUT/$1.png}
    rsvg-convert --width="$w" --height="$h" "$SRC/$name.svg" -o "$TMP/$name.png"
    if [ "$kind" = opaque ]; then
        convert "$TMP/$name.png" -background white -alpha remove -alpha off \
            -strip -define png:exclude-chunks=date,time "PNG24:$target"
    else
        convert "$TMP/$name.png" -strip -define png:exclude-chunks=date,time "PNG32:$target"
    fi
    echo "$target"
}

# Box faces: ten kinds, rest face (_1) and blink face (_2), 50 x 50.
for n in 1 2 3 4 5 6 7 8 9 10; do
    render "vak${n}_1" 50 50 opaque
    render "vak${n}_2" 50 50 opaque
done

# Menu icons, 32 x 32 with a transparent background.
for n in 1 2 3 4 5 6; do
    render "menu$n" 32 32 alpha
done

# Icons of the settings window beside the subject list and the sound switch, 32 x 32.
for n in 1 2; do
    render "tools$n" 32 32 alpha
done

# Start picture (354 x 254) and program icon (64 x 64).
if [ -f "$SRC/start.svg" ]; then render start 354 254 opaque; fi
if [ -f "$SRC/tuurbord.svg" ]; then render tuurbord 64 64 alpha; fi

# The help page shows the menu icons at their own size.
for n in 1 2 3 4 5 6; do
    cp "$OUT/menu$n.png" "$HELP/menu$n.png"
done
