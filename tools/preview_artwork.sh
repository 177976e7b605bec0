#!/usr/bin/env bash
# Renders the artwork into one PNG to look at: the toolbar strips enlarged
# with their commands' names, the icons at each size and the cursors with their
# hot spots marked in red. Needs ImageMagick.
# Usage: tools/preview_artwork.sh [OUTPUT.png]
set -euo pipefail
out=$(realpath -m "${1:-artwork-preview.png}")
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/tools/make_artwork.py" "$root/src/res/art" "$work"
cd "$work"

toolbar_labels=(open save fullscreen window region object cursor zoom-in zoom-out editor fit actual-size options
                last-region markup longshot record)
annotate_labels=(hand select arrow line rectangle ellipse pen highlighter text step redact mosaic crop
                 no-fill fill half-fill font block)
desk_labels=(undo redo pin save open-document copy cancel longshot)
enlarge=(-filter point -resize 800%)

# Normal and disabled images over a button face through the mask, as the toolbar
# draws them, and the mask itself below; one row of cells for each strip.
preview_strip() {
  local strip=$1
  shift
  local labels=("$@")
  for image in "$strip" "${strip}_disabled"; do
    convert "$image.bmp" \( "${strip}_mask.bmp" -negate \) -alpha off -compose CopyOpacity -composite \
      -background '#F0F0F0' -compose Over -flatten -crop 16x15 +repage "$image-%02d.png"
  done
  convert "${strip}_mask.bmp" -crop 16x15 +repage "${strip}_mask-%02d.png"
  for i in "${!labels[@]}"; do
    n=$(printf %02d "$i")
    convert "$strip-$n.png" "${strip}_disabled-$n.png" "${strip}_mask-$n.png" "${enlarge[@]}" \
      -background white -splice 0x6 -append \
      -gravity center -font DejaVu-Sans -pointsize 14 label:"${labels[$i]}" -append \
      -bordercolor white -border 6 "$strip-cell-$n.png"
  done
  convert "$strip"-cell-*.png +append "$strip-cells.png"
}
preview_strip toolbar "${toolbar_labels[@]}"
preview_strip annotate "${annotate_labels[@]}"
preview_strip desk "${desk_labels[@]}"

# Icons at 16, 32 and 48 pixels (frames 0-2), enlarged 4x over a checkerboard.
tiles=()
for ico in lumigrab document; do
  for frame in 0 1 2; do
    convert "$ico.ico[$frame]" -filter point -resize 400% -background none -gravity center \
      -extent 200x200 \( -size 200x200 tile:pattern:checkerboard \) +swap \
      -compose Over -composite "icon-$ico-$frame.png"
    tiles+=("icon-$ico-$frame.png")
  done
done
for cur in hand_open hand_closed; do
  read -r _ hx hy < <(grep '^hotspot' "$root/src/res/art/cursors/$cur.txt")
  convert "$cur.cur" "${enlarge[@]}" -fill red \
    -draw "rectangle $((hx * 8 + 2)),$((hy * 8 + 2)) $((hx * 8 + 5)),$((hy * 8 + 5))" \
    -background none -gravity center -extent 200x200 \( -size 200x200 xc:'#C8E0C8' \) +swap \
    -compose Over -composite "cursor-$cur.png"
  tiles+=("cursor-$cur.png")
done
convert "${tiles[@]}" -bordercolor white -border 6 +append icons.png

convert toolbar-cells.png annotate-cells.png desk-cells.png icons.png -background white -gravity west -append "$out"
echo "wrote $out"
