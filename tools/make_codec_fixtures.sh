#!/usr/bin/env bash
# Makes the reference images of the codec tests with native tools: JPEG files from
# cjpeg (and a CMYK one from ImageMagick), BMP and PNG variants from ImageMagick, and for each
# the pixels those tools decode from it, as a PPM/PGM file named <file>.pnm.
# Usage: tools/make_codec_fixtures.sh OUTPUT_DIR
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
rm -f ./*.jpg ./*.bmp ./*.png ./*.pnm done

# An odd-sized picture with gradients, hard edges and flat areas; its rows need padding.
convert -size 67x45 gradient:'#ff2000-#0040ff' \
        \( -size 45x67 gradient:'#00ff80-#000000' -rotate 90 \) -compose difference -composite \
        \( -size 67x45 pattern:checkerboard \) -compose multiply -composite \
        -depth 8 source.ppm

cjpeg -quality 90 -outfile colour.jpg source.ppm
cjpeg -quality 95 -sample 1x1 -outfile colour444.jpg source.ppm
cjpeg -progressive -optimize -outfile progressive.jpg source.ppm
cjpeg -restart 1 -outfile restart.jpg source.ppm
cjpeg -grayscale -outfile grey.jpg source.ppm
cjpeg -arithmetic -outfile arithmetic.jpg source.ppm
cjpeg -arithmetic -progressive -outfile arithmetic-progressive.jpg source.ppm
for jpeg in colour colour444 progressive restart grey; do
  djpeg -pnm -outfile "$jpeg.jpg.pnm" "$jpeg.jpg"
done
# ImageMagick writes CMYK the way Adobe applications do: inverted, with an Adobe marker.
convert source.ppm -colorspace CMYK -quality 95 cmyk.jpg
convert cmyk.jpg -colorspace sRGB -depth 8 ppm:cmyk.jpg.pnm
convert source.ppm -colorspace CMYK -interlace JPEG cmyk-progressive.jpg

convert source.ppm BMP3:info-24.bmp
convert source.ppm -alpha set -define bmp3:alpha=true BMP3:info-32.bmp
convert source.ppm -type Palette -colors 200 -compress None BMP3:info-8.bmp
convert source.ppm -type Palette -colors 16 -compress None BMP3:info-4.bmp
convert source.ppm -monochrome BMP3:info-1.bmp
convert source.ppm -type Palette -colors 200 BMP2:core-8.bmp
convert source.ppm -type Palette -colors 16 BMP2:core-4.bmp
convert source.ppm BMP2:core-24.bmp
for bmp in info-24 info-32 info-8 info-4 info-1 core-8 core-4 core-24; do
  convert "$bmp.bmp" -alpha off -depth 8 "ppm:$bmp.bmp.pnm"
done
convert source.ppm -type Palette -colors 200 -compress RLE BMP3:rle-8.bmp

# Bit-field BMPs (124-byte header, red, green, blue and alpha masks at offset 54):
# ImageMagick's own 5-6-5 and 32-bit files, and copies with the masks rewritten
# to unusual layouts, which ImageMagick then decodes as the reference.
masks() {  # file red green blue: writes the masks and clears the alpha mask
  local le=''
  for mask in "$2" "$3" "$4" 0; do
    le+=$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((mask & 255)) $((mask >> 8 & 255)) \
                $((mask >> 16 & 255)) $((mask >> 24 & 255)))
  done
  printf "$le" | dd of="$1" bs=1 seek=54 conv=notrunc status=none
}
convert source.ppm -define bmp:subtype=RGB565 fields-565.bmp
convert source.ppm -alpha set BMP:fields-32.bmp
cp fields-565.bmp fields-565-swapped.bmp && masks fields-565-swapped.bmp 0x001F 0x07E0 0xF800
cp fields-32.bmp fields-32-rgbx.bmp && masks fields-32-rgbx.bmp 0x000000FF 0x0000FF00 0x00FF0000
cp fields-32.bmp fields-32-101010.bmp && masks fields-32-101010.bmp 0x3FF00000 0x000FFC00 0x000003FF
for bmp in fields-565 fields-32 fields-565-swapped fields-32-rgbx fields-32-101010; do
  convert "$bmp.bmp" -alpha off -depth 8 "ppm:$bmp.bmp.pnm"
done

# PNG files of every colour type and bit depth, plain and interlaced, named
# png-TYPE-DEPTH[-trns][-i].png; the reference is ImageMagick's decoding composited
# over white. 16-bit pictures start from a 16-bit gradient, so their low bytes vary;
# the alpha is a ramp from opaque to clear, tRNS marks the colour of the first pixel.
convert -size 67x45 gradient:'#ff2000-#0040ff' \( -size 45x67 gradient:'#00ff80-#000000' -rotate 90 \) \
        -compose difference -composite -depth 16 source16.ppm
convert -size 45x67 gradient:white-black -rotate 90 alpha.pgm
with_alpha=(alpha.pgm -alpha off -compose copy-opacity -composite)
clear_first=(-alpha set -fill none -draw 'color 0,0 replace')
png() {  # name, then ImageMagick's arguments with the output file last
  local name=$1
  shift
  for interlace in None PNG; do
    local file=$name.png
    [ $interlace = PNG ] && file=$name-i.png
    convert "${@:1:$#-1}" -interlace $interlace -define png:exclude-chunks=bKGD "${@: -1}$file"
    convert "$file" -background white -alpha remove -alpha off -depth 8 "ppm:$file.pnm"
  done
}
png png-0-1 source.ppm -monochrome -define png:color-type=0 -define png:bit-depth=1 ''
for depth in 2 4 8; do
  png png-0-$depth source.ppm -colorspace gray -define png:color-type=0 -define png:bit-depth=$depth ''
done
png png-0-16 source16.ppm -colorspace gray -define png:color-type=0 -define png:bit-depth=16 ''
png png-0-8-trns source.ppm -colorspace gray "${clear_first[@]}" -define png:color-type=0 -define png:bit-depth=8 ''
png png-0-16-trns source16.ppm -colorspace gray "${clear_first[@]}" -define png:color-type=0 -define png:bit-depth=16 ''
for depth in 8 16; do
  png png-2-$depth source$( [ $depth = 16 ] && echo 16).ppm -define png:color-type=2 -define png:bit-depth=$depth ''
  png png-2-$depth-trns source$( [ $depth = 16 ] && echo 16).ppm "${clear_first[@]}" \
      -define png:color-type=2 -define png:bit-depth=$depth ''
  png png-4-$depth source$( [ $depth = 16 ] && echo 16).ppm -colorspace gray "${with_alpha[@]}" \
      -define png:color-type=4 -define png:bit-depth=$depth ''
  png png-6-$depth source$( [ $depth = 16 ] && echo 16).ppm "${with_alpha[@]}" \
      -define png:color-type=6 -define png:bit-depth=$depth ''
done
for depth in 1 2 4 8; do
  png png-3-$depth source.ppm +dither -colors $((1 << depth)) -define png:color-type=3 -define png:bit-depth=$depth ''
done
png png-3-4-trns source.ppm +dither -colors 12 "${clear_first[@]}" -define png:bit-depth=4 PNG8:
png png-3-8-trns source.ppm +dither -colors 100 "${clear_first[@]}" PNG8:
# Today's default header versions, as ImageMagick writes them without a version
# prefix: 124 bytes, and 108 for a picture without colour.
convert source.ppm -type Palette -colors 200 -compress None BMP:v5-8.bmp
convert source.ppm -type Palette -colors 16 -compress None BMP:v5-4.bmp
convert source.ppm BMP:v5-24.bmp
convert source.ppm -define bmp:subtype=RGB555 BMP:v5-555.bmp
convert source.ppm -monochrome BMP:v4-1.bmp
for bmp in v5-8 v5-4 v5-24 v5-555 v4-1; do
  convert "$bmp.bmp" -alpha off -depth 8 "ppm:$bmp.bmp.pnm"
done

touch done
