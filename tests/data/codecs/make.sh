#!/usr/bin/env bash
# Regenerates the codec test files from src.ppm (13 x 7) and noise.ppm (80 x 60, 256 colours)
# with ImageMagick and netpbm. Each <name>.<ext> comes with <name>.ref.ppm: the file as
# ImageMagick decodes it, the reference the tests compare against pixel by pixel.
set -euo pipefail
cd "$(dirname "$0")"
ref() { convert "$1[0]" -depth 8 "${1%.*}.ref.ppm"; }
mk() {   # mk <file> <format prefix or ""> <convert options...>
  local out=$1 prefix=$2; shift 2
  convert src.ppm "$@" "$prefix$out"
  ref "$out"
}
# PNG: every colour type, 1..16 bits, interlace
mk png-rgb8.png PNG24:
mk png-rgb16.png PNG48:
mk png-rgba8.png PNG32: -alpha set -channel A -fx 0.5
convert png-rgba8.png -background white -flatten -depth 8 png-rgba8.ref.ppm   # shown over white
mk png-pal.png PNG8: -colors 50
mk png-pal-interlaced.png PNG8: -colors 50 -interlace PNG
mk png-rgb16-interlaced.png PNG48: -interlace PNG
for d in 1 2 4 8 16; do
  convert src.ppm -colorspace gray -depth $d pgm:- | pnmtopng > png-grey$d.png
  ref png-grey$d.png
done
convert src.ppm -colorspace gray -depth 4 pgm:- | pnmtopng -interlace > png-grey4-interlaced.png
ref png-grey4-interlaced.png
# GIF: palette, interlace, a frame inside a larger screen, 12-bit codes with clear codes
mk gif-pal.gif "" -colors 60
mk gif-interlaced.gif "" -colors 60 -interlace GIF
convert src.ppm -colors 20 -repage 20x12+4+3 gif-offset.gif && ref gif-offset.gif   # the frame alone
convert noise.ppm noise.gif && ref noise.gif
# BMP
mk bmp-24.bmp BMP3:
mk bmp-8.bmp BMP3: -colors 100 -compress none
mk bmp-4.bmp BMP3: -colors 12
mk bmp-1.bmp BMP3: -monochrome
mk bmp-rle8.bmp BMP3: -colors 100 -compress RLE
mk bmp-os2.bmp BMP2: -colors 100
mk bmp-565.bmp BMP: -define bmp:subtype=RGB565
mk bmp-32.bmp BMP: -alpha set
# Photoshop
mk psd-rgb.psd "" -compress RLE
mk psd-rgb-raw.psd "" -compress none
mk psd-rgb16.psd "" -depth 16
mk psd-grey.psd "" -colorspace gray
mk psd-cmyk.psd "" -colorspace cmyk
mk psd-bitmap.psd "" -monochrome
# Targa, PCX, netpbm, SGI, TIFF
# Targa through netpbm: ImageMagick writes its rows top first while the header says bottom first
tga() {   # tga <file> <ppmtotga options...>
  local out=$1; shift
  convert src.ppm -colors 40 ppm:- | ppmtotga "$@" > "$out" 2>/dev/null
  tgatoppm "$out" > "${out%.*}.ref.ppm"
}
tga tga-rgb.tga -rgb -norle
tga tga-rle.tga -rgb
tga tga-pal.tga -cmap
tga tga-grey.tga -mono
mk pcx-rgb.pcx ""
mk pcx-pal.pcx "" -colors 40 -type palette
# (ImageMagick shows netpbm's monochrome PCX inverted; netpbm's reader is the reference)
convert src.ppm -monochrome ppm:- | ppmtopcx 2>/dev/null > pcx-mono.pcx
pcxtoppm pcx-mono.pcx > pcx-mono.ref.ppm
convert src.ppm -colors 12 ppm:- | ppmtopcx -planes 4 2>/dev/null > pcx-16.pcx
pcxtoppm pcx-16.pcx > pcx-16.ref.ppm
mk pnm-p6.ppm "" -compress none -depth 8
convert src.ppm -compress none -depth 8 pnm-p3.ppm && ref pnm-p3.ppm
convert src.ppm -depth 16 pnm-p6-16.ppm && ref pnm-p6-16.ppm
convert src.ppm -colorspace gray pnm-p5.pgm && ref pnm-p5.pgm
convert src.ppm -colorspace gray -compress none pnm-p2.pgm && ref pnm-p2.pgm
convert src.ppm -monochrome pnm-p4.pbm && ref pnm-p4.pbm
convert src.ppm -monochrome -compress none pnm-p1.pbm && ref pnm-p1.pbm
mk sgi-rle.sgi "" -compress RLE
mk sgi-raw.sgi "" -compress none
mk sgi-16.sgi "" -depth 16 -compress RLE
mk tiff-raw.tif "" -compress none
mk tiff-packbits.tif "" -compress RLE
mk tiff-pal.tif "" -colors 30 -type palette -compress none
mk tiff-grey16.tif "" -colorspace gray -depth 16 -compress none
# Hand-made: small.cel, small.cut, small.rla and preview.eps (a DOS EPS header before
# tiff-raw.tif) were written by a few lines of Python; their expected pixels are in the tests.
