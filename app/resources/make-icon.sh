#!/usr/bin/env bash
# Draws the program's icon, pelomar3.png (a snowflake on a blue tile), with
# ImageMagick. The PNG is kept in git; run this only to change the drawing.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 128x128 xc:none \
  -fill '#1d5d9b' -draw 'roundrectangle 4,4 123,123 22,22' \
  -fill '#2f7fc8' -draw 'roundrectangle 10,10 117,64 16,16' \
  -stroke white -strokewidth 7 -fill none \
  -draw 'line 64,22 64,106' -draw 'line 28,43 100,85' -draw 'line 28,85 100,43' \
  -strokewidth 5 -draw 'line 64,34 54,26' -draw 'line 64,34 74,26' -draw 'line 64,94 54,102' -draw 'line 64,94 74,102' \
  -stroke none -fill white -draw 'circle 64,64 64,52' -fill '#1d5d9b' -draw 'circle 64,64 64,58' \
  -depth 8 -strip pelomar3.png
