#pragma once
// Fast 1/8-scale JPEG decoding from each block's DC coefficient alone, for thumbnails.
// Only the common cases are taken: Huffman coding, 8-bit samples, grey or YCbCr with luma
// sampled 1x1, 2x1, 1x2 or 2x2 and chroma 1x1; sequential in one interleaved scan, or
// progressive, of which only the DC scans are read (the AC scans' bytes are skipped).
// Anything else, and any damage in the data it reads, is left to libjpeg (the caller falls
// back to DecodeJpeg).
#include <memory>
#include <optional>

#include "base/Bitmap.h"
#include "codecs/DecodeError.h"
#include "codecs/Jpeg.h"

namespace codecs {

class JpegDcDecoder {
 public:
  // Reads the markers up to the scan. data must outlive the decoder.
  explicit JpegDcDecoder(Bytes data);
  ~JpegDcDecoder();
  JpegDcDecoder(const JpegDcDecoder&) = delete;
  JpegDcDecoder& operator=(const JpegDcDecoder&) = delete;

  // Whether the header is one this decoder takes; Size() and Decode() need it.
  bool Supported() const { return header_ != nullptr; }
  JpegSize Size() const;

  // The picture at ceil(w/8) x ceil(h/8), each pixel from one block's DC coefficient (grey
  // and unsubsampled colour come out as libjpeg's scale 1/8 does, bit for bit; subsampled
  // chroma is repeated over the luma blocks it covers). Empty on any error in the
  // entropy-coded data or when the header is not supported.
  std::optional<base::Bitmap> Decode() const;

 private:
  struct Header;
  std::unique_ptr<Header> header_;
};

// JpegDcDecoder(data).Decode().
std::optional<base::Bitmap> DecodeJpegDc(Bytes data);

}  // namespace codecs
