#!/usr/bin/env bash
# Makes the default pictures of Tuurbord from public-domain (CC0) clip art.
#
# Each line of tools/pictures.tsv names one picture:
#   subject<TAB>word<TAB>drawing<TAB>background colour (optional, "-" for the default)<TAB>left out (optional)
# "drawing" is an SVG file below /usr/share/openclipart/svg (Debian package
# openclipart-svg). "left out" is a CSS selector of parts of the drawing that
# the picture must not show, such as the letters on a compass ("text") or a
# number on a tram ("#path102"). The picture becomes
# assets/plaatjes/<subject>/<word>.jpg: 354 x 254 pixels, the drawing trimmed,
# scaled to fill most of the top-left 350 x 250 (the part the boxes cover) and
# centred there on a plain background. Words are unique in the whole list.
#
# Usage:
#   tools/make-pictures.sh                 make every picture in the list
#   tools/make-pictures.sh --sheet OUT.png DRAWING...
#                                          render drawings side by side into one
#                                          contact sheet, to choose new drawings
#   tools/make-pictures.sh --subject-sheet OUT.png SUBJECT
#                                          the finished pictures of one subject
#                                          on a contact sheet, named by their word
#
# Needs: openclipart-svg, librsvg2-bin (rsvg-convert), imagemagick (convert,
# montage). This is a developer tool; the game itself needs none of these.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
list="$here/pictures.tsv"
clipart=${OPENCLIPART_DIR:-/usr/share/openclipart/svg}
out_dir="$root/assets/plaatjes"
default_bg="#f3efe2"   # light warm cream

# Picture size, the part the boxes cover, and the box the drawing must fit in.
width=354 height=254
visible_w=350 visible_h=250
fit_w=328 fit_h=228

for tool in rsvg-convert convert montage; do
    command -v "$tool" >/dev/null || { echo "make-pictures: $tool is missing" >&2; exit 1; }
done
[ -d "$clipart" ] || { echo "make-pictures: $clipart not found (install openclipart-svg)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# render SVG OUT BACKGROUND [LEFT_OUT]: write one finished picture (format from OUT's extension).
render() {
    local svg=$1 out=$2 bg=$3 left_out=${4:-} png="$work/drawing.png" css="$work/left-out.css"
    if [ -n "$left_out" ]; then
        printf '%s { display: none !important; }\n' "$left_out" >"$css"
    else
        : >"$css"
    fi
    # Large enough that trimming away empty page still leaves plenty of pixels.
    rsvg-convert -s "$css" -w 1400 -h 1400 -a -b none "$svg" -o "$png"
    convert "$png" -background none -fuzz 1% -trim +repage \
        -filter Lanczos -resize "${fit_w}x${fit_h}" \
        -background "$bg" -alpha remove -alpha off \
        -gravity center -extent "${visible_w}x${visible_h}" \
        -gravity northwest -extent "${width}x${height}" \
        -colorspace sRGB -type TrueColor -strip \
        -sampling-factor 4:2:0 -interlace none -quality 85 "$out"
}

if [ "${1:-}" = "--sheet" ]; then
    [ $# -ge 3 ] || { echo "usage: $0 --sheet OUT.png DRAWING..." >&2; exit 2; }
    sheet=$2; shift 2
    tiles=()
    i=0
    for svg in "$@"; do
        case $svg in /*) ;; *) svg="$clipart/$svg" ;; esac
        i=$((i + 1))
        tile="$work/tile-$(printf %03d $i).png"
        if render "$svg" "$tile" "$default_bg" 2>/dev/null; then
            tiles+=(-label "$i $(basename "$svg" .svg | cut -c1-28)" "$tile")
        else
            echo "make-pictures: cannot render $svg" >&2
        fi
    done
    montage "${tiles[@]}" -tile 4x -geometry +4+4 -pointsize 13 "$sheet"
    exit 0
fi

if [ "${1:-}" = "--subject-sheet" ]; then
    [ $# -eq 3 ] || { echo "usage: $0 --subject-sheet OUT.png SUBJECT" >&2; exit 2; }
    sheet=$2 dir="$out_dir/$3"
    [ -d "$dir" ] || { echo "make-pictures: no subject $3 in ${out_dir#"$root"/}" >&2; exit 1; }
    tiles=()
    for jpg in "$dir"/*.jpg; do
        tiles+=(-label "$(basename "$jpg" .jpg)" "$jpg")
    done
    montage "${tiles[@]}" -tile 5x -geometry +4+4 -pointsize 16 "$sheet"
    exit 0
fi

count=0 failed=0
declare -A seen=()
while IFS=$'\t' read -r subject word drawing bg left_out || [ -n "$subject" ]; do
    case $subject in ''|'#'*) continue ;; esac
    if ! [[ $subject =~ ^[a-z]+$ && $word =~ ^[a-z]+$ ]]; then
        echo "make-pictures: '$subject/$word': use lower-case letters a-z only" >&2
        failed=$((failed + 1)); continue
    fi
    if [ -n "${seen[$word]:-}" ]; then
        echo "make-pictures: $subject/$word: the word is listed already in ${seen[$word]}" >&2
        failed=$((failed + 1)); continue
    fi
    seen[$word]=$subject
    [ "$bg" != "-" ] || bg=""
    svg="$clipart/$drawing"
    if [ ! -f "$svg" ]; then
        echo "make-pictures: $drawing not found" >&2
        failed=$((failed + 1)); continue
    fi
    mkdir -p "$out_dir/$subject"
    if render "$svg" "$out_dir/$subject/$word.jpg" "${bg:-$default_bg}" "$left_out"; then
        count=$((count + 1))
    else
        echo "make-pictures: could not render $drawing" >&2
        failed=$((failed + 1))
    fi
done < "$list"

echo "make-pictures: $count pictures made in ${out_dir#"$root"/}"
[ "$failed" -eq 0 ] || { echo "make-pictures: $failed lines failed" >&2; exit 1; }
