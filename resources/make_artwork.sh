#!/bin/bash
# Draws the program's pictures with ImageMagick. Run it by hand after changing a picture and
# commit the JPEG files; the build only reads them.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Splash (514 x 386): an evening city under the title, the purpose along the bottom.
RANDOM=1303
skyline=()
x=0
while ((x < 514)); do
    width=$((22 + RANDOM % 34))
    top=$((150 + RANDOM % 120))
    shade=$((18 + RANDOM % 26))
    skyline+=(-fill "rgb($shade,$((shade + 6)),$((shade + 30)))"
        -draw "rectangle $x,$top $((x + width - 2)),330")
    for ((wy = top + 6; wy < 322; wy += 9)); do
        for ((wx = x + 4; wx < x + width - 6; wx += 7)); do
            if ((RANDOM % 3 == 0)); then
                skyline+=(-fill "rgb(255,$((200 + RANDOM % 50)),$((90 + RANDOM % 80)))"
                    -draw "rectangle $wx,$wy $((wx + 2)),$((wy + 3))")
            fi
        done
    done
    x=$((x + width))
done
convert -size 514x330 gradient:'#0b1c4d'-'#f08a3c' \
    "${skyline[@]}" \
    \( -size 514x56 gradient:'#10183a'-'#02040c' \) -append +repage \
    "$tmp/city.png"
convert -size 514x130 gradient:'#ffe04a'-'#ff2a6a' -rotate 90 -resize 514x130! "$tmp/fill.png"
convert -size 514x130 xc:black -font Helvetica-BoldOblique -pointsize 84 -fill white \
    -gravity center -annotate +0+0 'Corvanteller' "$tmp/mask.png"
convert "$tmp/fill.png" "$tmp/mask.png" -alpha off -compose CopyOpacity -composite \
    "$tmp/title.png"
convert "$tmp/title.png" \( +clone -background black -shadow 90x4+4+4 \) +swap \
    -background none -layers merge +repage "$tmp/title_shadow.png"
convert "$tmp/city.png" "$tmp/title_shadow.png" -gravity north -geometry +0+28 -composite \
    -font Helvetica-BoldOblique -pointsize 14 -fill '#e8f0ff' -gravity south \
    -annotate +0+20 'Finds the titles, performers and makers inside your karaoke files' \
    -crop 514x386+0+0 +repage -strip -quality 88 splash.jpg

# Banner strip (214 x 12) of the start window.
convert -size 12x214 gradient:'#1e5ae6'-'#e6283c' -rotate 90 \
    -fill '#ffe680' -draw 'rectangle 0,5 213,6' -strip -quality 92 banner.jpg

# Moving picture (15 x 15): a note running along the start window's bottom.
convert -size 15x15 xc:'#efefef' -fill '#c81e3c' \
    -draw 'ellipse 5,11 3,2.5 0,360' -draw 'rectangle 7,2 8,11' \
    -draw 'polygon 8,2 12,5 12,7 8,4' -strip -quality 95 moving.jpg

# About window's moving strip (79 x 4): thin and orange.
convert -size 4x79 gradient:'#ff9a1e'-'#ff6a00' -rotate 90 -strip -quality 95 about_strip.jpg

identify splash.jpg banner.jpg moving.jpg about_strip.jpg
