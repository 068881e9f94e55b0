#!/usr/bin/env bash
# Sets the time of every picture filter of tuurbord-filter beside ImageMagick's nearest
# equivalent on the same 4000 x 3000 picture, both on one thread, in the same run.
#
#   bench/compare-imagemagick.sh BUILD_DIR      (use a Release build)
#
# Builds nothing. Our time is the filter time the tool prints itself; ImageMagick's is the wall
# time of `convert picture OPERATION null:` minus that of `convert picture null:`, best of RUNS.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR}
runs=${RUNS:-3}
tool="$build/tools/filter/tuurbord-filter"
[ -x "$tool" ] || { echo "$0: $tool not found; build it first" >&2; exit 1; }
command -v convert > /dev/null || { echo "$0: ImageMagick's convert not found" >&2; exit 1; }

export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 4000x3000 xc:gray -seed 1 +noise Random -depth 8 -type TrueColor "$work/picture.bmp"
# ImageMagick's own pixel cache format is read by mapping it, so reading costs it next to nothing.
convert "$work/picture.bmp" "$work/picture.mpc"

# Best wall time in nanoseconds of convert with the given operation.
magick_ns() {
    local best="" t0 t1
    for _ in $(seq "$runs"); do
        t0=$(date +%s%N)
        convert -limit thread 1 "$work/picture.mpc" "$@" null:
        t1=$(date +%s%N)
        if [ -z "$best" ] || [ $((t1 - t0)) -lt "$best" ]; then best=$((t1 - t0)); fi
    done
    echo "$best"
}

# Best filter time in milliseconds as tuurbord-filter reports it.
ours_ms() {
    local best="" t
    for _ in $(seq "$runs"); do
        t=$("$tool" --seed 1 "$work/picture.bmp" "$work/out.png" "$1" | sed -n 's/^filters total: \([0-9.]*\) ms.*/\1/p')
        [ -n "$t" ] || { echo "$0: no time from $tool for $1" >&2; exit 1; }
        best=$(awk -v a="$t" -v b="$best" 'BEGIN { print (b == "" || a < b) ? a : b }')
    done
    echo "$best"
}

base=$(magick_ns)
printf '%-15s %12s %14s %8s   %s\n' filter "ours (ms)" "convert (ms)" ratio "ImageMagick operation"

compare() {
    local name=$1
    shift
    local ours magick
    ours=$(ours_ms "$name")
    magick=$(magick_ns "$@")
    awk -v n="$name" -v o="$ours" -v m="$magick" -v b="$base" -v op="$*" 'BEGIN {
        ms = (m - b) / 1e6; if (ms < 0) ms = 0
        printf "%-15s %12.2f %14.1f %7.0fx   %s\n", n, o, ms, (o > 0 ? ms / o : 0), op }'
}

compare negatief -negate
compare grijswaarden -grayscale Average
compare lichter -evaluate multiply 1.08
compare donkerder -evaluate multiply 0.92
compare scherper -convolve '-2,-2,-2,-2,29,-2,-2,-2,-2'
compare blur -define convolve:scale='!' -morphology Convolve '3x3: 1,1,1 1,0,1 1,1,1'
compare relief -define convolve:scale=0.5 -define convolve:bias=19.6% -morphology Convolve '3x3: 2,1,0 1,1,-1 0,-1,-2'
compare pixellize -scale 33.3333% -scale '4000x3000!'
compare defuse -spread 3
compare spiegelbeeld -flop
compare flip-vertikaal -flip
