#!/bin/sh
# Draws the about window's two pictures with ImageMagick:
#   logo.jpg  66 x 46  the maker's logo, a "Z" on a blue badge
#   name.jpg 188 x 18  a line with the maker's name
# Their background is the window colour of Qt's default palette, so they blend into the panel.
# Run it from anywhere; the pictures are written beside this script.
# Needs imagemagick and fonts-wqy-microhei (for the Chinese line).
set -eu
cd "$(dirname "$0")"

# -strip keeps dates and other metadata out, so a rerun gives the same bytes.
convert -size 66x46 xc:'#efefef' \
    -fill '#1c3f94' -stroke '#0a1f5c' -strokewidth 1 -draw 'roundrectangle 2,2 63,43 8,8' \
    -fill '#3f6fd8' -stroke none -draw 'roundrectangle 5,5 60,22 6,6' \
    -fill white -stroke none -font DejaVu-Sans-Bold -pointsize 30 \
    -gravity center -annotate +0+1 'Z' \
    -fill '#ffcc33' -draw 'circle 52,35 55,35' \
    -strip -quality 92 logo.jpg

convert -size 188x18 xc:'#efefef' \
    -fill '#1c3f94' -draw 'rectangle 0,16 187,17' \
    -fill '#202020' -font WenQuanYi-Micro-Hei -pointsize 12 \
    -gravity west -annotate +2-1 '制作：Zeroraz 软件工作室' \
    -strip -quality 92 name.jpg
