// The floor of the thumbnail benchmark: one process that does only libjpeg's reduced
// decode (the same reduction choice and speed options as the engine) and a plain box
// filter to the box, writing nothing.  floor WIDTH HEIGHT FILE...
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const int bw = std::atoi(argv[1]), bh = std::atoi(argv[2]);
  unsigned long checksum = 0;
  std::vector<unsigned char> file, pixels, out;
  for (int i = 3; i < argc; ++i) {
    std::FILE* f = std::fopen(argv[i], "rb");
    if (!f) continue;
    std::fseek(f, 0, SEEK_END);
    file.resize(std::size_t(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(file.data(), 1, file.size(), f) != file.size()) file.clear();
    std::fclose(f);
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), file.size());
    jpeg_read_header(&cinfo, TRUE);
    const int w = int(cinfo.image_width), h = int(cinfo.image_height);
    unsigned denom = 1;
    for (unsigned d : {8u, 4u, 2u})
      if (h / int(d) >= bh && w / int(d) >= bw) { denom = d; break; }
    cinfo.scale_num = 1;
    cinfo.scale_denom = denom;
    cinfo.dct_method = JDCT_IFAST;
    cinfo.do_fancy_upsampling = FALSE;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int sw = int(cinfo.output_width), sh = int(cinfo.output_height);
    pixels.resize(std::size_t(sw) * sh * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = pixels.data() + std::size_t(cinfo.output_scanline) * sw * 3;
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    // Shrink-only aspect fit, then each output pixel the mean of its source block.
    int tw = sw, th = sh;
    if (sw > bw || sh > bh) {
      if (sw * bh > sh * bw) { tw = bw; th = std::max(1, sh * bw / sw); }
      else { th = bh; tw = std::max(1, sw * bh / sh); }
    }
    out.resize(std::size_t(tw) * th * 3);
    for (int y = 0; y < th; ++y) {
      const int y0 = y * sh / th, y1 = std::max(y0 + 1, (y + 1) * sh / th);
      for (int x = 0; x < tw; ++x) {
        const int x0 = x * sw / tw, x1 = std::max(x0 + 1, (x + 1) * sw / tw);
        for (int c = 0; c < 3; ++c) {
          unsigned sum = 0;
          for (int yy = y0; yy < y1; ++yy)
            for (int xx = x0; xx < x1; ++xx) sum += pixels[(std::size_t(yy) * sw + xx) * 3 + c];
          out[(std::size_t(y) * tw + x) * 3 + c] = (unsigned char)(sum / unsigned((y1 - y0) * (x1 - x0)));
        }
      }
    }
    checksum += out[0];
  }
  std::printf("%lu\n", checksum);
  return 0;
}
