#include "codecs/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

#include "codecs/ImageDecoder.h"

namespace codecs {
namespace {

constexpr std::uint64_t kMaxPixels = 1ull << 28;  // 268 M pixels: far beyond any photo
// libjpeg's own memory (a progressive picture's coefficients): this base and a multiple of
// the data, far above what any real file needs.
constexpr long kMemoryBase = 64L << 20, kMemoryPerDataByte = 16;
constexpr long kMaxMemory = 1024L << 20;

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr, int) {}  // warnings (corrupt data that libjpeg mends) are silent

// libjpeg reports errors by longjmp: nothing with a destructor may live between setjmp and
// the calls that can fail, so the pixel buffers are owned by the caller's frame.
struct Decompressor {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  Decompressor() {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    jpeg_create_decompress(&cinfo);
  }
  ~Decompressor() { jpeg_destroy_decompress(&cinfo); }
};

void CopyRow(const std::uint8_t* src, int components, J_COLOR_SPACE space, bool inverted,
             std::uint8_t* dst, int width) {
  for (int x = 0; x < width; ++x, dst += 3) {
    if (components == 1) {
      dst[0] = dst[1] = dst[2] = src[x];
    } else {  // CMYK
      int c = src[4 * x], m = src[4 * x + 1], y = src[4 * x + 2], k = src[4 * x + 3];
      if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
      }
      dst[0] = std::uint8_t(y * k / 255);
      dst[1] = std::uint8_t(m * k / 255);
      dst[2] = std::uint8_t(c * k / 255);
    }
  }
  (void)space;
}

// Every block of every component costs at least one bit in some scan (sequential: its DC
// and end-of-block codes; progressive: its first DC scan). libjpeg would make up the rest
// of a picture its data cannot hold, so such a header is refused before anything is
// allocated. Needs the header read up to the first scan.
void CheckBlocksAgainstData(const jpeg_decompress_struct& cinfo, std::size_t dataSize) {
  std::uint64_t blocks = 0;
  for (int c = 0; c < cinfo.num_components; ++c)
    blocks +=
        std::uint64_t(cinfo.comp_info[c].width_in_blocks) * cinfo.comp_info[c].height_in_blocks;
  if (blocks > 8 * std::uint64_t(dataSize))
    throw DecodeError("JPEG: data too short for the image size");
}

}  // namespace

bool IsJpeg(Bytes data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

JpegSize ReadJpegSize(Bytes data) {
  if (!IsJpeg(data)) throw DecodeError("JPEG: not a JPEG file");
  Decompressor d;
  if (setjmp(d.err.jump)) throw DecodeError(std::string("JPEG: ") + d.err.message);
  jpeg_mem_src(&d.cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d.cinfo, TRUE);
  return JpegSize{int(d.cinfo.image_width), int(d.cinfo.image_height)};
}

base::Bitmap DecodeJpeg(Bytes data, int scaleDenom, JpegPerformance performance) {
  if (!IsJpeg(data)) throw DecodeError("JPEG: not a JPEG file");
  if (scaleDenom != 1 && scaleDenom != 2 && scaleDenom != 4 && scaleDenom != 8)
    throw DecodeError("JPEG: unsupported scale");
  Decompressor d;
  base::Bitmap out;
  std::vector<std::uint8_t> row;
  std::vector<JSAMPROW> rows;
  if (setjmp(d.err.jump)) throw DecodeError(std::string("JPEG: ") + d.err.message);
  jpeg_mem_src(&d.cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d.cinfo, TRUE);
  CheckBlocksAgainstData(d.cinfo, data.size());
  d.cinfo.mem->max_memory_to_use = std::min<std::uint64_t>(
      kMemoryBase + kMemoryPerDataByte * std::uint64_t(data.size()), kMaxMemory);
  const std::uint64_t outW = (std::uint64_t(d.cinfo.image_width) + scaleDenom - 1) / scaleDenom;
  const std::uint64_t outH = (std::uint64_t(d.cinfo.image_height) + scaleDenom - 1) / scaleDenom;
  if (outW * outH > PixelBudget(kMaxPixels)) throw DecodeError("JPEG: image too large");
  const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
  const bool inverted = cmyk && d.cinfo.saw_Adobe_marker;
  // Colour comes out in the bitmap's own byte order, straight into its rows.
  const bool direct = !cmyk && d.cinfo.num_components != 1;
  d.cinfo.out_color_space = cmyk                          ? JCS_CMYK
                            : d.cinfo.num_components == 1 ? JCS_GRAYSCALE
                                                          : JCS_EXT_BGR;
  d.cinfo.scale_num = 1;
  d.cinfo.scale_denom = unsigned(scaleDenom);
  if (performance == JpegPerformance::jpBestSpeed) {
    d.cinfo.dct_method = JDCT_IFAST;
    d.cinfo.do_fancy_upsampling = FALSE;
  } else {
    d.cinfo.dct_method = JDCT_ISLOW;
    d.cinfo.do_fancy_upsampling = TRUE;
  }
  jpeg_start_decompress(&d.cinfo);
  const int width = int(d.cinfo.output_width), height = int(d.cinfo.output_height);
  const int components = d.cinfo.output_components;
  out.SetSize(width, height);
  if (direct) {
    rows.resize(std::size_t(height));
    for (int y = 0; y < height; ++y) rows[std::size_t(y)] = out.Row(y);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
      const JDIMENSION y = d.cinfo.output_scanline;
      jpeg_read_scanlines(&d.cinfo, &rows[y], d.cinfo.output_height - y);
    }
  } else {
    row.resize(std::size_t(width) * components);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
      const int y = int(d.cinfo.output_scanline);
      JSAMPROW p = row.data();
      jpeg_read_scanlines(&d.cinfo, &p, 1);
      CopyRow(row.data(), components, d.cinfo.out_color_space, inverted, out.Row(y), width);
    }
  }
  jpeg_finish_decompress(&d.cinfo);
  return out;
}

std::vector<std::uint8_t> EncodeJpeg(const base::BitmapView& image, int quality) {
  struct Compressor {
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    Compressor() {
      cinfo.err = jpeg_std_error(&err.pub);
      err.pub.error_exit = OnError;
      jpeg_create_compress(&cinfo);
    }
    ~Compressor() {
      jpeg_destroy_compress(&cinfo);
      std::free(buffer);
    }
  } c;
  std::vector<std::uint8_t> row(std::size_t(image.width) * 3);
  if (setjmp(c.err.jump)) throw DecodeError(std::string("JPEG: ") + c.err.message);
  jpeg_mem_dest(&c.cinfo, &c.buffer, &c.size);
  c.cinfo.image_width = JDIMENSION(image.width);
  c.cinfo.image_height = JDIMENSION(image.height);
  c.cinfo.input_components = 3;
  c.cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c.cinfo);
  jpeg_set_quality(&c.cinfo, quality, TRUE);
  jpeg_start_compress(&c.cinfo, TRUE);
  while (c.cinfo.next_scanline < c.cinfo.image_height) {
    const std::uint8_t* src = image.Row(int(c.cinfo.next_scanline));
    for (int x = 0; x < image.width; ++x) {
      row[3 * x] = src[3 * x + 2];
      row[3 * x + 1] = src[3 * x + 1];
      row[3 * x + 2] = src[3 * x];
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c.cinfo, &p, 1);
  }
  jpeg_finish_compress(&c.cinfo);
  return std::vector<std::uint8_t>(c.buffer, c.buffer + c.size);
}

}  // namespace codecs
