#!/usr/bin/env bash
# Draws the start button's glyph (a database with an arrow into it) and the program
# icon with ImageMagick. The outputs are kept in the repository; run this only to
# change them.
#   glyph32.bmp, glyph48.bmp   24-bit, magenta (#FF00FF) marks the transparent parts
#   veldar.ico                 16, 32 and 48 pixels with alpha
set -euo pipefail
cd "$(dirname "$0")"

draw() {  # draw <size> <antialias flag> <background> <output>
  local s="$1" aa="$2" bg="$3" out="$4"
  local f
  f=$(awk "BEGIN{print $s/32}")
  p() { awk "BEGIN{printf \"%.2f\", $1*$f}"; }
  convert -size "${s}x${s}" "xc:$bg" "$aa" -strokewidth "$(p 1)" \
    -fill '#2f6fb5' -stroke '#1d4f86' -draw "rectangle $(p 4),$(p 8) $(p 22),$(p 25)" \
    -fill '#2f6fb5' -draw "ellipse $(p 13),$(p 25) $(p 9),$(p 3.5) 0,180" \
    -stroke '#1d4f86' -fill none -draw "ellipse $(p 13),$(p 14) $(p 9),$(p 3.5) 0,180" \
    -draw "ellipse $(p 13),$(p 19.5) $(p 9),$(p 3.5) 0,180" \
    -fill '#8cc0f0' -draw "ellipse $(p 13),$(p 8) $(p 9),$(p 3.5) 0,360" \
    -stroke '#1e6b2a' -fill '#35b04a' \
    -draw "polygon $(p 23),$(p 2) $(p 28),$(p 2) $(p 28),$(p 14) $(p 31),$(p 14) $(p 25.5),$(p 21) $(p 20),$(p 14) $(p 23),$(p 14)" \
    "$out"
}

draw 32 +antialias '#FF00FF' BMP3:glyph32.bmp
draw 48 +antialias '#FF00FF' BMP3:glyph48.bmp
for s in 16 32 48; do draw "$s" -antialias none "png32:icon$s.png"; done
convert icon16.png icon32.png icon48.png veldar.ico
rm -f icon16.png icon32.png icon48.png
