// TImgUtil's pictures from the platform: shell icons, shell-rendered pages, video frames.
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/ByteOrder.h"
#include "base/Exception.h"
#include "codecs/DibHeader.h"
#include "imaging/BitmapUtilsWin.h"
#include "imaging/DibSection.h"
#include "imaging/ImgUtils.h"
#include "imaging/ImgUtilsRules.h"
#include "ui/WideText.h"

namespace imaging {

namespace {

// The shell's HTML thumbnail extractor.
const CLSID kClsidHtmlThumbnail = {
    0xEAB841A0, 0x9550, 0x11CF, {0x8C, 0x16, 0x00, 0x80, 0x5F, 0x14, 0x08, 0xF3}};
const IID kIidExtractImage = {
    0xBB2E617C, 0x0920, 0x11D1, {0x9A, 0x0B, 0x00, 0xC0, 0x4F, 0xC2, 0xD6, 0xC1}};
constexpr DWORD kExtractFlags = 0x20E;  // cache | aspect | offline | quality

void Check(HRESULT hr) {
  if (FAILED(hr)) throw Exception("OLE error " + std::to_string(unsigned(hr)));
}

// The file's own icon by number, else its associated shell icon, else the shell's file icon
// (some platforms give no associated icon for documents, folders and drive roots).
ui::UniqueIcon LoadFileIcon(const std::string& fileName, int iconIndex) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  if (iconIndex != 0) {
    HICON icon = ExtractIconA(inst, fileName.c_str(), UINT(iconIndex));
    if (reinterpret_cast<UINT_PTR>(icon) > 1) return ui::UniqueIcon(icon);
  }
  // A path cut to the buffer could name another file.
  if (fileName.size() >= MAX_PATH) return {};
  // The call writes the icon's source path into its buffer: each call gets a fresh copy.
  char path[MAX_PATH];
  const auto copyName = [&] {
    std::memset(path, 0, sizeof path);
    std::memcpy(path, fileName.data(), fileName.size());
    return path;
  };
  WORD index = 0;
  if (HICON icon = ExtractAssociatedIconA(inst, copyName(), &index)) return ui::UniqueIcon(icon);
  SHFILEINFOA info{};
  if (SHGetFileInfoA(copyName(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON) && info.hIcon)
    return ui::UniqueIcon(info.hIcon);
  return {};
}

}  // namespace

int TImgUtil::GetIcon(const std::string& FileName, int IconIndex) {
  const ui::UniqueIcon icon = LoadFileIcon(FileName, IconIndex);
  const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  DibSection square(cx, cy);
  {
    MemoryDc dc(square.Handle());
    ui::UniqueBrush brush(CreateSolidBrush(bkColor_));
    const RECT r{0, 0, cx, cy};
    FillRect(dc.get(), &r, brush.get());
    if (icon) DrawIconEx(dc.get(), 0, 0, icon.get(), cx, cy, 0, nullptr, DI_NORMAL);
  }
  Bitmap = square.ToBitmap();
  NoteSource();
  return 0;
}

bool TImgUtil::ExtractShellImage(const std::string& FileName, base::Bitmap& Bitmap) {
  const DWORD colorDepth = 24;  // the bitmap is always 24 bits per pixel
  ui::ComScope com;
  ui::ComPtr<IExtractImage> extract;
  Check(CoCreateInstance(kClsidHtmlThumbnail, nullptr, CLSCTX_INPROC_SERVER, kIidExtractImage,
                         extract.put_void()));
  ui::ComPtr<IPersistFile> persist = extract.As<IPersistFile>(IID_IPersistFile);
  if (!persist) Check(E_NOINTERFACE);
  Check(persist->Load(ui::ToWide(FileName).c_str(), 0));
  WCHAR location[MAX_PATH] = {};
  DWORD priority = 0, flags = kExtractFlags;
  SIZE size{Bitmap.Width(), Bitmap.Height()};
  Check(extract->GetLocation(location, MAX_PATH, &priority, &size, colorDepth, &flags));
  HBITMAP handle = nullptr;
  if (FAILED(extract->Extract(&handle)) || !handle) return false;
  const ui::UniqueBitmap owned(handle);
  Bitmap = BitmapFromHandle(owned.get());
  return true;
}

int TImgUtil::LoadShellPage(const std::string& FileName, int Width, int Height) {
  const auto page = HtmlPageSize(Width, Height);
  if (!page) return -1;
  Bitmap = base::Bitmap(page->width, page->height);
  if (!ExtractShellImage(FileName, Bitmap)) return -1;
  NoteSource();
  if (getType_ != igtNormal) ResizeBitmap(&Bitmap, Width, Height);
  return 0;
}

int TImgUtil::LoadAvi(const std::string& FileName, int Width, int Height) {
  if (const int result = GetAviFrame(FileName, Bitmap, aviFramePos_); result != 0) return result;
  NoteSource();
  Size(Width, Height);
  return 0;
}

namespace {

// AVIFileInit / AVIFileExit and the opened stream and frame reader, closed in that order.
class AviFrameReader {
 public:
  AviFrameReader() { AVIFileInit(); }
  ~AviFrameReader() {
    if (frames_) AVIStreamGetFrameClose(frames_);
    if (stream_) AVIStreamRelease(stream_);
    AVIFileExit();
  }
  AviFrameReader(const AviFrameReader&) = delete;
  AviFrameReader& operator=(const AviFrameReader&) = delete;

  bool Open(const std::string& fileName) {
    if (AVIStreamOpenFromFileA(&stream_, fileName.c_str(), streamtypeVIDEO, 0, OF_READ, nullptr) !=
        0) {
      stream_ = nullptr;
      return false;
    }
    frames_ = AVIStreamGetFrameOpen(stream_, nullptr);
    return frames_ != nullptr;
  }
  PAVISTREAM Stream() const { return stream_; }
  PGETFRAME Frames() const { return frames_; }

 private:
  PAVISTREAM stream_ = nullptr;
  PGETFRAME frames_ = nullptr;
};

}  // namespace

namespace {

// Bytes readable from p to the end of its committed memory region.
std::size_t ReadableBytesAt(const void* p) {
  MEMORY_BASIC_INFORMATION region{};
  if (!VirtualQuery(p, &region, sizeof region) || region.State != MEM_COMMIT ||
      (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
    return 0;
  return static_cast<const char*>(region.BaseAddress) + region.RegionSize -
         static_cast<const char*>(p);
}

// What the frame reader's buffer really holds. An undecoded frame is the stream's format
// followed by the frame's stored bytes; a decoded one is laid out by the decoder, whose
// biSizeImage gives the pixels. Never more than the memory readable there.
std::size_t FrameBufferSize(PAVISTREAM stream, int frame, const std::uint8_t* dib) {
  LONG formatSize = 0, frameBytes = 0;
  AVIStreamReadFormat(stream, frame, nullptr, &formatSize);
  AVIStreamRead(stream, frame, 1, nullptr, 0, &frameBytes, nullptr);
  std::vector<std::uint8_t> format(std::size_t(std::max<LONG>(formatSize, 0)));
  if (!format.empty()) AVIStreamReadFormat(stream, frame, format.data(), &formatSize);
  const std::size_t readable = ReadableBytesAt(dib);
  if (readable < 40) return 0;
  std::uint64_t size;
  if (format.size() >= 40 && std::memcmp(format.data() + 16, dib + 16, 4) == 0) {
    size = std::uint64_t(format.size()) + std::uint64_t(std::max<LONG>(frameBytes, 0));
  } else {
    const std::uint64_t table = 4 * std::min<std::uint64_t>(base::Le32(dib + 32), 256);
    size = std::uint64_t(base::Le32(dib)) + 16 + table + base::Le32(dib + 20);  // masks at most 16
  }
  return std::size_t(std::min<std::uint64_t>(size, readable));
}

}  // namespace

int TImgUtil::GetAviFrame(const std::string& FileName, base::Bitmap& Bitmap, int Percent) {
  if (!FileOrFolderExists(FileName)) return -1;
  AviFrameReader avi;
  if (!avi.Open(FileName)) return -1;
  AviInfo = AVISTREAMINFOA{};
  AVIStreamInfoA(avi.Stream(), &AviInfo, sizeof AviInfo);
  const int frame = AviFrameIndex(Percent, AviInfo.dwLength);
  const auto* dib = static_cast<const std::uint8_t*>(AVIStreamGetFrame(avi.Frames(), frame));
  std::optional<std::vector<std::uint8_t>> file;
  if (dib) file = codecs::PackedDibToBmpFile(dib, FrameBufferSize(avi.Stream(), frame, dib));
  if (!file) throw Exception("Bitmap image is not valid");
  Bitmap = DecodeBmpFile(file->data(), file->size());
  return 0;
}

}  // namespace imaging
