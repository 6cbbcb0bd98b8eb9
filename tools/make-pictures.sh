#!/bin/sh
# Draws the installation pictures in Imagens/ with ImageMagick. Run once after changing the artwork;
# the pictures themselves are committed. Everything is drawn at four times the size and reduced, so
# that edges and text come out smoothly antialiased.
set -eu
convert=${CONVERT:-/usr/bin/convert}
out=${1:-$(dirname "$0")/../Imagens}
bold=Liberation-Sans-Bold
regular=Liberation-Sans
blue='rgb(19,65,158)'
light='rgb(70,125,215)'
panel='rgb(246,246,246)'

# The printer mark, on a 40 x 40 design grid: printer(x, y, scale) prints MVG drawing commands.
printer() {
    cat <<MVG
push graphic-context
translate $1,$2
scale $3,$3
stroke $blue stroke-width 2.4 stroke-linejoin round
fill white
rectangle 10,2 30,16
fill $blue
roundrectangle 2,14 38,31 4,4
stroke none fill white
rectangle 9,24 31,26.4
fill rgb(120,220,140)
circle 32.5,19 34,19
stroke $blue stroke-width 2.4 fill white
rectangle 10,25 30,38
stroke $light stroke-width 1.8
line 14,30 26,30
line 14,34 23,34
pop graphic-context
MVG
}

# Width in pixels of a text, so that the two colours of the name join into one word.
width() {
    "$convert" -font "$1" -pointsize "$2" "label:$3" -format %w info:
}

# Header banner of the main window (249 x 50): mark, name and a short line on the panel colour.
"$convert" -size 996x200 "xc:$panel" \
    -draw "$(printer 24 18 4)" \
    -font "$bold" -pointsize 96 -fill "$blue" -annotate +200+118 "Corvel" \
    -fill "$light" -annotate +$((200 + $(width "$bold" 96 Corvel)))+118 "Lane" \
    -font "$regular" -pointsize 36 -fill 'rgb(95,100,115)' -annotate +204+170 "Controle de impressão" \
    -fill "$blue" -draw "rectangle 0,192 996,199" \
    -resize 249x50\! -quality 95 -sampling-factor 1x1 -strip "$out/CorvelLane.jpg"

# Quota window picture (49 x 49): a page with a pie of the quota used.
"$convert" -size 196x196 "xc:$panel" \
    -stroke "$blue" -strokewidth 7 -fill white \
    -draw "path 'M 28,12 L 104,12 L 140,48 L 140,180 L 28,180 Z'" \
    -fill 'rgb(205,218,240)' -draw "path 'M 104,12 L 104,48 L 140,48 Z'" \
    -stroke "$light" -strokewidth 6 \
    -draw "line 50,66 112,66" -draw "line 50,88 100,88" -draw "line 50,110 84,110" \
    -stroke white -strokewidth 6 -fill 'rgb(205,218,240)' -draw "circle 134,136 134,186" \
    -stroke none -fill "$blue" -draw "path 'M 134,136 L 134,89 A 47,47 0 1,1 89.3,121.5 Z'" \
    -resize 49x49\! -quality 95 -sampling-factor 1x1 -strip "$out/ImgCota.jpg"

# Report logo (about 64.8 x 20.6 mm at 300 dpi), 24-bit BMP on the white of the report.
"$convert" -size 3060x972 xc:white \
    -draw "$(printer 60 120 18)" \
    -font "$bold" -pointsize 360 -fill "$blue" -annotate +900+560 "Corvel" \
    -fill "$light" -annotate +$((900 + $(width "$bold" 360 Corvel)))+560 "Lane" \
    -font "$regular" -pointsize 150 -fill 'rgb(95,100,115)' -annotate +912+800 "Controle de impressão" \
    -resize 765x243\! -type TrueColor -density 300 -units PixelsPerInch -strip "BMP3:$out/CorvelLane_Rel.bmp"
