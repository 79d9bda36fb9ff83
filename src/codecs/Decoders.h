#pragma once
// The decoder classes of the format registry. Each Is* is the class's content check, each
// Decode* its decoder (throwing DecodeError), each Decode*Rows the same decoder giving its
// rows to a sink; the matching k*Decoder bundles them.
#include "codecs/ImageDecoder.h"

namespace codecs {

bool IsBmp(Bytes data);
base::Bitmap DecodeBmp(Bytes data);  // 1/4/8/16/24/32 bit, RLE4/RLE8, bitfields, OS/2
void DecodeBmpRows(Bytes data, RowSink& sink);
bool IsGif(Bytes data);
base::Bitmap DecodeGif(Bytes data);  // first frame on its logical screen
void DecodeGifRows(Bytes data, RowSink& sink);
bool IsPng(Bytes data);
base::Bitmap DecodePng(Bytes data);
void DecodePngRows(Bytes data, RowSink& sink);
bool IsTarga(Bytes data);
base::Bitmap DecodeTarga(Bytes data);
void DecodeTargaRows(Bytes data, RowSink& sink);
bool IsPcx(Bytes data);
base::Bitmap DecodePcx(Bytes data);
bool IsPnm(Bytes data);
base::Bitmap DecodePnm(Bytes data);  // PBM, PGM, PPM, binary and text
bool IsSgi(Bytes data);
base::Bitmap DecodeSgi(Bytes data);
bool IsPsd(Bytes data);
base::Bitmap DecodePsd(Bytes data);  // the merged image
void DecodePsdRows(Bytes data, RowSink& sink);
bool IsPhotoCd(Bytes data);
base::Bitmap DecodePhotoCd(Bytes data);  // the 768 x 512 base image
bool IsTiff(Bytes data);
base::Bitmap DecodeTiff(Bytes data);  // first image; uncompressed or PackBits strips
void DecodeTiffRows(Bytes data, RowSink& sink);
bool IsEps(Bytes data);
base::Bitmap DecodeEps(Bytes data);  // the TIFF preview of a DOS EPS file
bool IsRla(Bytes data);
base::Bitmap DecodeRla(Bytes data);
bool IsAutodesk(Bytes data);
base::Bitmap DecodeAutodesk(Bytes data);
bool IsDrHalo(Bytes data);
base::Bitmap DecodeDrHalo(Bytes data);  // no palette file: indices as grey levels
bool IsPaintShopPro(Bytes data);
base::Bitmap DecodePaintShopPro(Bytes data);  // always "unsupported"
bool IsIco(Bytes data);
bool IsMetafile(Bytes data);

extern const ImageDecoder kBmpDecoder, kIcoDecoder, kMetafileDecoder, kJpegDecoder, kTargaDecoder,
    kTiffDecoder, kEpsDecoder, kPcxDecoder, kRlaDecoder, kSgiDecoder, kPsdDecoder, kPnmDecoder,
    kAutodeskDecoder, kPhotoCdDecoder, kDrHaloDecoder, kPaintShopProDecoder, kPngDecoder,
    kGifDecoder;

}  // namespace codecs
