#include "codecs/Decoders.h"

#include "codecs/Jpeg.h"

namespace codecs {

const ImageDecoder kBmpDecoder{"Windows bitmap", IsBmp, DecodeBmp, DecodeBmpRows};
const ImageDecoder kIcoDecoder{"Windows icon", IsIco, nullptr};
const ImageDecoder kMetafileDecoder{"Metafile", IsMetafile, nullptr};
const ImageDecoder kJpegDecoder{"JPEG", IsJpeg, [](Bytes data) { return DecodeJpeg(data); }};
const ImageDecoder kTargaDecoder{"Targa", IsTarga, DecodeTarga, DecodeTargaRows};
const ImageDecoder kTiffDecoder{"TIFF", IsTiff, DecodeTiff, DecodeTiffRows};
const ImageDecoder kEpsDecoder{"EPS", IsEps, DecodeEps};
const ImageDecoder kPcxDecoder{"PCX", IsPcx, DecodePcx};
const ImageDecoder kRlaDecoder{"RLA", IsRla, DecodeRla};
const ImageDecoder kSgiDecoder{"SGI", IsSgi, DecodeSgi};
const ImageDecoder kPsdDecoder{"Photoshop", IsPsd, DecodePsd, DecodePsdRows};
const ImageDecoder kPnmDecoder{"PPM", IsPnm, DecodePnm};
const ImageDecoder kAutodeskDecoder{"Autodesk", IsAutodesk, DecodeAutodesk};
const ImageDecoder kPhotoCdDecoder{"Photo-CD", IsPhotoCd, DecodePhotoCd};
const ImageDecoder kDrHaloDecoder{"Dr. Halo", IsDrHalo, DecodeDrHalo};
const ImageDecoder kPaintShopProDecoder{"Paintshop Pro", IsPaintShopPro, DecodePaintShopPro};
const ImageDecoder kPngDecoder{"PNG", IsPng, DecodePng, DecodePngRows};
const ImageDecoder kGifDecoder{"GIF", IsGif, DecodeGif, DecodeGifRows};

}  // namespace codecs
