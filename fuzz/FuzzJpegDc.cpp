// libFuzzer target for the DC-only JPEG decoder: it must never crash, hang or leak, a
// picture it gives has the size the header promises, and for grey and unsubsampled colour
// that libjpeg decodes without a warning, the picture is libjpeg's scale 1/8 bit for bit.
// Sequential and progressive files alike (a progressive one is read from its DC scans).
// Seeds (corpus/jpegdc): cjpeg from a 40 x 30 pattern with -sample 2x2, 2x1, 1x2
// (-restart 3B), 1x1 (-restart 1B) and -grayscale (-restart 2B). Seeds
// (corpus/jpegdcprogressive): the same pattern with -progressive -sample 1x1 -restart 1B,
// -progressive -sample 2x2, -progressive -grayscale -restart 2B, and -scans scripts that send
// the DC bits in three steps, per component and interleaved (-sample 1x1 -restart 3B, and
// -grayscale).
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "codecs/JpegDc.h"

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}
void Silent(j_common_ptr) {}

// libjpeg behind setjmp: each step is a function of its own in which no object with a
// destructor lives, so that an error's longjmp skips nothing.
struct Libjpeg {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  bool created = false;
  ~Libjpeg() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

// Reads the header; true for grey or unsubsampled three-component data of a sane size,
// with the output set up for scale 1/8 as the DC decoder makes it.
bool Prepare(Libjpeg& j, const std::uint8_t* data, std::size_t size) {
  j.cinfo.err = jpeg_std_error(&j.err.base);
  j.err.base.error_exit = OnError;
  j.err.base.output_message = Silent;
  if (setjmp(j.err.jump)) return false;
  jpeg_create_decompress(&j.cinfo);
  j.created = true;
  jpeg_mem_src(&j.cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&j.cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (j.cinfo.num_components != 1 && j.cinfo.num_components != 3) return false;
  for (int c = 0; c < j.cinfo.num_components; ++c)
    if (j.cinfo.comp_info[c].h_samp_factor != 1 || j.cinfo.comp_info[c].v_samp_factor != 1)
      return false;
  if (std::uint64_t(j.cinfo.image_width) * j.cinfo.image_height > (1u << 22)) return false;
  j.cinfo.scale_num = 1;
  j.cinfo.scale_denom = 8;
  j.cinfo.out_color_space = j.cinfo.num_components == 1 ? JCS_GRAYSCALE : JCS_EXT_BGR;
  j.cinfo.dct_method = JDCT_IFAST;
  j.cinfo.do_fancy_upsampling = FALSE;
  jpeg_calc_output_dimensions(&j.cinfo);
  return true;
}

// Decodes into rows of output_width * output_components bytes; true without error or warning.
bool Decode(Libjpeg& j, std::uint8_t* pixels) {
  if (setjmp(j.err.jump)) return false;
  jpeg_start_decompress(&j.cinfo);
  const std::size_t stride = std::size_t(j.cinfo.output_width) * j.cinfo.output_components;
  while (j.cinfo.output_scanline < j.cinfo.output_height) {
    JSAMPROW row = pixels + stride * j.cinfo.output_scanline;
    jpeg_read_scanlines(&j.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&j.cinfo);
  return j.err.base.num_warnings == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const codecs::JpegDcDecoder decoder(codecs::Bytes(data, size));
  const std::optional<base::Bitmap> picture = decoder.Decode();
  if (!picture) return 0;
  const codecs::JpegSize s = decoder.Size();
  if (picture->Width() != (s.width + 7) / 8 || picture->Height() != (s.height + 7) / 8)
    std::abort();
  Libjpeg j;
  if (!Prepare(j, data, size)) return 0;
  const int width = int(j.cinfo.output_width), height = int(j.cinfo.output_height);
  const int comps = j.cinfo.output_components;
  std::vector<std::uint8_t> expected(std::size_t(width) * height * comps);
  if (!Decode(j, expected.data())) return 0;
  if (width != picture->Width() || height != picture->Height()) std::abort();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const base::Bgr p = picture->Pixel(x, y);
      const std::uint8_t* e = &expected[(std::size_t(y) * width + x) * comps];
      const std::uint8_t b = e[0], g = e[comps == 1 ? 0 : 1], r = e[comps == 1 ? 0 : 2];
      if (p.b != b || p.g != g || p.r != r) {
        std::fprintf(stderr, "pixel (%d, %d): %d %d %d, libjpeg %d %d %d\n", x, y, p.b, p.g, p.r, b,
                     g, r);
        std::abort();
      }
    }
  return 0;
}
