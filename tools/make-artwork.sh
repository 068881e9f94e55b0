#!/bin/sh
# Regenerate every PNG in assets/artwork/ (and the small pictures of the
# help page in assets/help/) from the hand-written SVG sources in
# tools/artwork/.
#
# Needs: rsvg-convert (librsvg) and ImageMagick's convert. The text of the
# start picture and the Christmas decorations is set in Comic Neue Bold,
# which must be installed (Debian/Ubuntu package fonts-comic-neue).
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
#   KIND opaque: no alpha channel (box faces, start picture, print pages)
#   KIND alpha:  keeps the transparent background (icons, stamp frame)
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

# Print window: small pictures of the three kinds of page (129 x 181),
# the stamp frame (149 x 119, its perforation holes stay transparent), the
# two Christmas card decorations (150 x 330) and the printer (32 x 32).
render tumb 129 181 opaque
render kerst 129 181 opaque
render calender 129 181 opaque
render stamp1 149 119 alpha
render kerstblauw 150 330 opaque
render kerstrood 150 330 opaque
render afdrukken 32 32 alpha

# What goes on paper again at twice the size, for printing at 150 dpi.
render stamp1 298 238 alpha "$OUT/stamp1_print.png"
render kerstblauw 300 660 opaque "$OUT/kerstblauw_print.png"
render kerstrood 300 660 opaque "$OUT/kerstrood_print.png"

# The help page shows the menu icons at their own size.
for n in 1 2 3 4 5 6; do
    cp "$OUT/menu$n.png" "$HELP/menu$n.png"
done
