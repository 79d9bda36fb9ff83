// TImgUtil's loaders of picture files and of the text page.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/ByteOrder.h"
#include "base/Exception.h"
#include "codecs/Decoders.h"
#include "codecs/ExifOrientation.h"
#include "imaging/BitmapUtils.h"
#include "imaging/BitmapUtilsWin.h"
#include "imaging/DecodeForBox.h"
#include "imaging/DibSection.h"
#include "imaging/ImgUtils.h"
#include "imaging/JpegScaled.h"
#include "imaging/TextPage.h"

namespace imaging {

namespace {

constexpr long long kMaxFileBytes = 256LL << 20;
constexpr int kMaxMetafileSide = 8192;
constexpr int kMaxPageSide = 8192;

std::string ReadFileCapped(const std::string& name) {
  const ui::UniqueKernelHandle file(CreateFileA(
      name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) throw Exception("Cannot open file \"" + name + "\"");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) throw Exception("Cannot read file \"" + name + "\"");
  if (size.QuadPart > kMaxFileBytes) throw Exception("File too large \"" + name + "\"");
  // One read; a file that shrank meanwhile gives what is left.
  std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!data.empty() &&
      !ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr))
    throw Exception("Cannot read file \"" + name + "\"");
  data.resize(read);
  return data;
}

codecs::Bytes AsBytes(const std::string& s) {
  return codecs::Bytes(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

COLORREF ResolveColor(COLORREF c) {
  return c == kWindowTextColor ? GetSysColor(COLOR_WINDOWTEXT) : c;
}

struct EnhMetafileTraits {
  static HENHMETAFILE Invalid() { return nullptr; }
  static bool Valid(HENHMETAFILE h) { return h != nullptr; }
  static void Close(HENHMETAFILE h) { DeleteEnhMetaFile(h); }
};
using UniqueEnhMetafile = ui::UniqueHandle<HENHMETAFILE, EnhMetafileTraits>;

std::int16_t Le16s(const std::uint8_t* p) { return std::int16_t(base::Le16(p)); }

// A Windows metafile as an enhanced one, with its size in pixels: a placeable file's
// bounding box in its own units per inch at the screen's resolution, else the size GDI
// gives the converted picture.
UniqueEnhMetafile ReadWmf(const std::string& data, int screenDpiX, int screenDpiY, SIZE& size) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(data.data());
  std::size_t offset = 0;
  METAFILEPICT pict{MM_ANISOTROPIC, 0, 0, nullptr};
  size = SIZE{0, 0};
  if (data.size() >= 22 && base::Le32(p) == 0x9AC6CDD7u) {
    const int inch = base::Le16(p + 14);
    const int w = Le16s(p + 10) - Le16s(p + 6), h = Le16s(p + 12) - Le16s(p + 8);
    if (inch > 0) {
      size.cx = MulDiv(std::abs(w), screenDpiX, inch);
      size.cy = MulDiv(std::abs(h), screenDpiY, inch);
      pict.xExt = MulDiv(std::abs(w), 2540, inch);
      pict.yExt = MulDiv(std::abs(h), 2540, inch);
    }
    offset = 22;
  }
  if (data.size() < offset + 18) throw Exception("Metafile is not valid");
  UniqueEnhMetafile emf(SetWinMetaFileBits(UINT(data.size() - offset), p + offset, nullptr,
                                           pict.xExt > 0 ? &pict : nullptr));
  if (!emf) throw Exception("Metafile is not valid");
  return emf;
}

}  // namespace

int TImgUtil::LoadBmp(const std::string& FileName, int Width, int Height) {
  const std::string data = ReadFileCapped(FileName);
  if (getType_ != igtNormal) {
    // A thumbnail: the file's rows reduced as they come, never the whole picture.
    FitSize source;
    Bitmap = DecodeForBox(AsBytes(data), codecs::kBmpDecoder, Width, Height, getType_, &source);
    SourceWidth = source.width;
    SourceHeight = source.height;
    return 0;
  }
  Bitmap = DecodeBmpFile(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
  NoteSource();
  Size(Width, Height);
  return 0;
}

// Shown upright: a picture stored sideways is turned after it is reduced (cheap), and its
// sizes are the ones shown.
int TImgUtil::LoadJpeg(const std::string& FileName, int Width, int Height) {
  const std::string data = ReadFileCapped(FileName);
  const int orientation = codecs::JpegOrientation(AsBytes(data));
  if (getType_ == igtNormal) {
    Bitmap = OrientBitmap(codecs::DecodeJpeg(AsBytes(data), 1, performance_), orientation);
    NoteSource();
    return 0;
  }
  const bool swap = codecs::SwapsSides(orientation);
  codecs::JpegSize source;
  Bitmap = OrientBitmap(LoadJpegScaled(AsBytes(data), swap ? Height : Width, swap ? Width : Height,
                                       getType_, performance_, &source),
                        orientation);
  SourceWidth = swap ? source.height : source.width;
  SourceHeight = swap ? source.width : source.height;
  return 0;
}

int TImgUtil::LoadMetafile(const std::string& FileName, int Width, int Height) {
  ui::ScopedGetDc screen(nullptr);
  const int dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
  SIZE size{0, 0};
  UniqueEnhMetafile emf;
  if (ImageType == iitWmf) {
    emf = ReadWmf(ReadFileCapped(FileName), dpiX, dpiY, size);
  } else {
    emf.reset(GetEnhMetaFileA(FileName.c_str()));
    if (!emf) throw Exception("Metafile is not valid");
  }
  if (size.cx <= 0 || size.cy <= 0) {
    ENHMETAHEADER header{};
    if (!GetEnhMetaFileHeader(emf.get(), sizeof header, &header))
      throw Exception("Metafile is not valid");
    // The frame is in 0.01 mm.
    size.cx = MulDiv(header.rclFrame.right - header.rclFrame.left, dpiX, 2540);
    size.cy = MulDiv(header.rclFrame.bottom - header.rclFrame.top, dpiY, 2540);
    if (size.cx <= 0 || size.cy <= 0) {
      size.cx = header.rclBounds.right - header.rclBounds.left + 1;
      size.cy = header.rclBounds.bottom - header.rclBounds.top + 1;
    }
  }
  if (size.cx <= 0 || size.cy <= 0 || size.cx > kMaxMetafileSide || size.cy > kMaxMetafileSide)
    throw Exception("Metafile size is not valid");
  DibSection page(size.cx, size.cy);
  {
    MemoryDc dc(page.Handle());
    ui::UniqueBrush brush(CreateSolidBrush(bkColor_));
    const RECT r{0, 0, size.cx, size.cy};
    FillRect(dc.get(), &r, brush.get());
    PlayEnhMetaFile(dc.get(), emf.get(), &r);
  }
  Bitmap = page.ToBitmap();
  NoteSource();
  Size(Width, Height);
  return 0;
}

int TImgUtil::LoadTextPage(const std::string& FileName, int Width, int Height) {
  if (!FileOrFolderExists(FileName)) return 1;
  const int w = std::clamp(2 * std::max(Width, 0), 1, kMaxPageSide);
  const int h = std::clamp(2 * std::max(Height, 0), 1, kMaxPageSide);
  DibSection page(w, h);
  SourceWidth = w;
  SourceHeight = h;
  {
    MemoryDc dc(page.Handle());
    ui::UniqueFont font(CreateFontA(
        font_.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, font_.Charset, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font_.Name.c_str()));
    ui::ScopedSelect selectFont(dc.get(), font.get());
    ui::UniqueBrush brush(CreateSolidBrush(bkColor_));
    RECT r{0, 0, w, h};
    FillRect(dc.get(), &r, brush.get());
    SIZE extent{0, 0};
    GetTextExtentPoint32A(dc.get(), "H", 1, &extent);
    if (extent.cy < 1) return 1;
    const std::string text = ReadTextLines(FileName, h / extent.cy + 1, w / 2);
    SetTextColor(dc.get(), ResolveColor(font_.Color));
    SetBkColor(dc.get(), bkColor_);
    SetBkMode(dc.get(), OPAQUE);
    DrawTextA(dc.get(), text.c_str(), int(text.size()), &r, DT_EXPANDTABS);
  }
  Bitmap = page.ToBitmap();
  Size(Width, Height);
  return 0;
}

}  // namespace imaging
