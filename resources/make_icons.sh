#!/bin/bash
# Makes the program's icon from its artwork with ImageMagick: the lit city of splash.jpg behind a
# "C" in the splash title's colours. Run it by hand after changing the artwork and commit the PNG
# files; the install gives them the application id as their name.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The city below the title, without the line of text at the bottom.
convert splash.jpg -crop 190x190+150+140 +repage -resize 256x256! "$tmp/city.png"
# The title's fill (pink on the left, yellow on the right) and shadow, as make_artwork.sh draws
# them.
convert -size 256x256 gradient:'#ffe04a'-'#ff2a6a' -rotate 90 "$tmp/fill.png"
convert -size 256x256 xc:black -font Helvetica-BoldOblique -pointsize 250 -fill white \
    -gravity center -annotate +0-6 'C' "$tmp/mask.png"
convert "$tmp/fill.png" "$tmp/mask.png" -alpha off -compose CopyOpacity -composite \
    "$tmp/letter.png"
convert "$tmp/letter.png" \( +clone -background black -shadow 90x6+6+6 \) +swap \
    -background none -layers merge +repage -gravity center -crop 256x256+0+0 +repage \
    "$tmp/letter_shadow.png"
convert "$tmp/city.png" "$tmp/letter_shadow.png" -gravity center -composite "$tmp/flat.png"
convert -size 256x256 xc:none -fill white -draw 'roundrectangle 8,8 247,247 40,40' \
    "$tmp/corners.png"
convert "$tmp/flat.png" "$tmp/corners.png" -alpha off -compose CopyOpacity -composite \
    "$tmp/icon.png"

mkdir -p icons
for size in 256 128 48; do
    convert "$tmp/icon.png" -filter Lanczos -resize "${size}x${size}" -strip \
        "icons/${size}x${size}.png"
done
identify icons/*.png
