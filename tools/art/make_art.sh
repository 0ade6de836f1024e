#!/bin/sh
# Builds the MudracQ artwork from the drawings in this folder.
#
# Usage:  tools/art/make_art.sh          (from anywhere; paths are taken from the script's location)
#
# Inputs:   tools/art/owl.svg    about-box illustration (198 x 230)
#           tools/art/icon.svg   program icon (drawn on a 256 x 256 grid)
# Outputs:  resources/about.jpg               198 x 230 baseline JPEG, YCbCr, ~25 kB
#           resources/icon/mudracq.svg        scalable icon (copy of icon.svg)
#           resources/icon/mudracq-256.png    256 x 256 RGBA
#           resources/icon/mudracq-32.png     32 x 32 RGBA
#           resources/icon/mudracq-32-pal16.png  32 x 32, 16-colour palette (4-bit), 1-bit transparency
#
# Needs (Debian): librsvg2-bin (rsvg-convert), libjpeg-turbo-progs (cjpeg), imagemagick (convert).
#
# The JPEG quality is not fixed: the script encodes the picture at every quality from 100 down
# to 60 and keeps the one whose file size is closest to TARGET_BYTES (default 25000), so the
# about box image stays about 25 kB even after the drawing is edited. Chroma is not subsampled
# (4:4:4) so the thin coloured edges of the drawing stay clean. Rerunning gives identical files.
set -eu

TARGET_BYTES=${TARGET_BYTES:-25000}
MIN_BYTES=22000
MAX_BYTES=28000

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
res=$root/resources

for tool in rsvg-convert cjpeg convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "make_art.sh: $tool is missing (apt-get install librsvg2-bin libjpeg-turbo-progs imagemagick)" >&2
        exit 1
    fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

mkdir -p "$res/icon"

# --- about box picture -------------------------------------------------------------------
rsvg-convert -w 198 -h 230 "$here/owl.svg" -o "$tmp/about.png"
# JPEG has no transparency: flatten onto white (the drawing is opaque anyway) and write 8-bit PPM.
convert "$tmp/about.png" -background white -alpha remove -alpha off -depth 8 "ppm:$tmp/about.ppm"

best_q=
best_diff=
q=100
while [ "$q" -ge 60 ]; do
    cjpeg -baseline -optimize -sample 1x1 -quality "$q" -outfile "$tmp/q$q.jpg" "$tmp/about.ppm"
    size=$(wc -c < "$tmp/q$q.jpg")
    diff=$((size - TARGET_BYTES))
    [ "$diff" -lt 0 ] && diff=$((-diff))
    if [ -z "$best_diff" ] || [ "$diff" -lt "$best_diff" ]; then
        best_q=$q
        best_diff=$diff
    fi
    q=$((q - 1))
done
cp "$tmp/q$best_q.jpg" "$res/about.jpg"
size=$(wc -c < "$res/about.jpg")
echo "about.jpg: quality $best_q, $size bytes"
if [ "$size" -lt "$MIN_BYTES" ] || [ "$size" -gt "$MAX_BYTES" ]; then
    echo "make_art.sh: about.jpg is $size bytes, outside $MIN_BYTES..$MAX_BYTES" >&2
    exit 1
fi

# --- program icon -------------------------------------------------------------------------
cp "$here/icon.svg" "$res/icon/mudracq.svg"
rsvg-convert -w 256 -h 256 "$here/icon.svg" -o "$res/icon/mudracq-256.png"
rsvg-convert -w 32 -h 32 "$here/icon.svg" -o "$res/icon/mudracq-32.png"

# 16-colour version: a fixed palette of 15 colours taken from the drawing plus one transparent
# slot. Letting the quantizer choose loses the dark pupils and the cap, so the colours are
# named here; no dithering, so the small picture stays crisp.
palette="#1a1208 #2b2f3e #3b4ea6 #5a4aa8 #6b47a8 #e6bf8c #633a1e #9a6236 #f9e6c4
         #ffc933 #d9a21b #f29a2e #ffffff #c8352c #861c16"
set --
for c in $palette; do set -- "$@" "xc:$c"; done
convert "$@" +append "$tmp/palette.png"
convert "$res/icon/mudracq-32.png" -background "#5a4aa8" -alpha remove -alpha off \
    -dither None -remap "$tmp/palette.png" \
    \( "$res/icon/mudracq-32.png" -alpha extract -threshold 50% \) \
    -compose CopyOpacity -composite \
    -define png:bit-depth=4 -define png:exclude-chunks=date,time -strip \
    "PNG8:$res/icon/mudracq-32-pal16.png"

echo "icons: mudracq.svg, mudracq-256.png, mudracq-32.png, mudracq-32-pal16.png"
