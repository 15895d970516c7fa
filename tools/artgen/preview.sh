#!/usr/bin/env bash
# Renders a contact sheet of the artwork, and a mock-up of the status window put together from it at the
# window's layout positions (with stand-in texts and one needle per gauge), as PNG files.
#
#   bash tools/artgen/preview.sh [art folder] [output folder]
#
# Needs ImageMagick (convert, montage) and a TrueType font known to it (DejaVu).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
art=${1:-$here/../../resources/art}
out=${2:-$PWD}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sans=DejaVu-Sans
serif=DejaVu-Serif

# --- contact sheet: every small picture at three times its size, named, one row per kind; the plate and the
# mock-up above them.
tile() {  # art file (with [n] for an icon image), label, output
  convert "$1" -background '#cccccc' -flatten -filter point -resize 300% \
    -gravity south -background '#e8e8e8' -splice 0x16 -font "$sans" -pointsize 11 -fill black -annotate +0+2 "$2" "$3"
}
rows=()
n=0
for group in "dial.bmp Image24.bmp korval.ico[0] korval.ico[1]" \
             "Image7.bmp Image10.bmp Image11.bmp Image12.bmp Image23.bmp" \
             "Image8.jpg Image13.jpg Image14.jpg Image9.bmp Image15.bmp Image16.bmp Image17.bmp Image18.bmp Image19.bmp" \
             "BitBtn1.bmp BitBtn2.bmp BitBtn3.bmp BitBtn4.bmp BitBtn5.bmp BitBtn6.bmp BitBtn7.bmp BitBtn8.bmp BitBtn9.bmp"; do
  tiles=()
  for f in $group; do
    n=$((n + 1))
    size=$(identify -format '%wx%h' "$art/$f")
    tile "$art/$f" "$f $size" "$tmp/t$n.png"
    tiles+=("$tmp/t$n.png")
  done
  montage "${tiles[@]}" -tile "${#tiles[@]}x1" -geometry +6+6 -background '#e8e8e8' "$tmp/row$n.png"
  rows+=("$tmp/row$n.png")
done
convert "${rows[@]}" -background '#e8e8e8' -gravity west -append "$tmp/small.png"

# --- mock-up of the window: 640 x 479 client area.
m=$tmp/mock.png
convert "$art/Image20.bmp" "$m"
gauges=("32 106" "203 107" "374 106" "32 285" "203 285" "373 285")
angles=(0.75 0.55 0.62 1.0 1.2 1.45)   # needle angle in units of pi, as the program draws it
values=("230" "229" "35" "50" "31" "100")
colours=("#00ff00" "#00ff00" "#00ff00" "#00ff00" "#00ff00" "#00ff00")
labels12="55 75 95 115 135 155 175"
labels=("$labels12" "$labels12" "0 20 40 60 80 100 120" "30 40 50 60 70 80 90" "0 10 20 30 40 50 60" "0 20 40 60 80 100 120")
pos12=("35 81" "32 57" "44 39" "65 34" "84 39" "94 56" "91 81")
pos36=("35 81" "32 57" "44 39" "65 34" "84 39" "96 56" "93 81")
for g in 0 1 2 3 4 5; do
  read -r gx gy <<<"${gauges[$g]}"
  a=${angles[$g]}
  # DrawPoint: line (69, 69) to (70 - 23 sin a, 70 + 23 cos a), white, width 2; hub (67, 67)..(73, 73).
  read -r ex ey < <(awk -v a="$a" 'BEGIN { p = 3.14159265 * a; printf "%d %d\n", 70 - int(23 * sin(p) + (sin(p) >= 0 ? 0.5 : -0.5)), 70 + int(23 * cos(p) + (cos(p) >= 0 ? 0.5 : -0.5)) }')
  args=(-stroke white -strokewidth 2 -draw "line 69,69 $ex,$ey" -stroke '#d4d0c8' -fill '#d4d0c8' -draw "ellipse 70,70 3,3 0,360")
  args+=(-stroke none -fill '#808080' -draw "rectangle 48,104 93,125" -fill white -draw "rectangle 49,105 93,125"
         -fill "${colours[$g]}" -draw "rectangle 50,106 92,124"
         -fill black -font "$serif-Bold" -pointsize 16 -gravity northwest -annotate "+$((71 - 5 * ${#values[$g]}))+105" "${values[$g]}")
  read -r -a texts <<<"${labels[$g]}"
  for i in 0 1 2 3 4 5 6; do
    if (( g < 2 )); then read -r lx ly <<<"${pos12[$i]}"; else read -r lx ly <<<"${pos36[$i]}"; fi
    args+=(-fill white -font "$serif" -pointsize 9 -annotate "+$lx+$ly" "${texts[$i]}")
  done
  convert "$art/dial.bmp" -gravity northwest "${args[@]}" "$tmp/g$g.png"
  convert "$m" "$tmp/g$g.png" -geometry "+$gx+$gy" -composite "$m"
done
convert "$m" "$art/Image24.bmp" -geometry +30+100 -composite "$m"
# Top pictures of the three lamp fields, and the toolbar buttons with their glyphs.
convert "$m" "$art/Image7.bmp" -geometry +536+99 -composite "$art/Image8.jpg" -geometry +536+162 -composite \
  "$art/Image9.bmp" -geometry +536+231 -composite "$m"
i=0
for b in 1 2 3 4 5 6 8 9 7; do
  lefts=(170 213 258 303 348 392 436 480 524)
  x=${lefts[$i]}
  convert -size 41x40 xc:'#f5f5f5' -fill none -stroke white -draw 'line 0,0 40,0' -draw 'line 0,0 0,39' \
    -stroke '#a0a0a0' -draw 'line 1,38 39,38' -draw 'line 39,1 39,38' -stroke '#696969' -draw 'line 0,39 40,39' \
    -draw 'line 40,0 40,39' "$tmp/btn.png"
  convert "$art/BitBtn$b.bmp" -transparent '#c0c0c0' "$tmp/glyph.png"
  convert "$tmp/btn.png" "$tmp/glyph.png" -geometry +1+2 -composite "$tmp/btn.png"
  convert "$m" "$tmp/btn.png" -geometry "+$x+25" -composite "$m"
  i=$((i + 1))
done
# Texts of the layout, in stand-in fonts.
t=(-font "$sans" -pointsize 12 -fill blue)
convert "$m" -gravity northwest "${t[@]}" \
  -annotate +62+254 "I/P Voltage  [V]" -annotate +228+254 "O/P Voltage  [V]" -annotate +405+254 "Load Level  [%%]" \
  -annotate +55+431 "I/P Frequency  [HZ]" -annotate +225+431 "Temperature  [C]" -annotate +400+431 "Battery Level  [%%]" \
  -fill navy -annotate +555+84 "AVR Mode" -annotate +552+148 "Line State" -annotate +553+218 "UPS State" \
  -fill olive -annotate +560+287 "Schedule" -annotate +556+343 "Ups Next" \
  -fill '#ff00ff' -font "$serif-Bold" -pointsize 11 \
  -annotate +548+306 "2024/05/10" -annotate +555+322 "22:30" -annotate +555+369 "NULL" -annotate +555+384 "NULL" \
  -fill blue -annotate +539+401 "14:05:33" -annotate +538+414 "2024/05/09" "$m"
convert "$m" -bordercolor '#404040' -border 1 "$out/artgen-mockup.png"

convert "$art/Image20.bmp" -bordercolor '#404040' -border 1 "$tmp/plate.png"
convert \( "$tmp/plate.png" "$out/artgen-mockup.png" -background '#e8e8e8' -splice 12x0 +append \) \
  "$tmp/small.png" -background '#e8e8e8' -gravity west -append "$out/artgen-contact.png"
echo "$out/artgen-contact.png"
echo "$out/artgen-mockup.png"
