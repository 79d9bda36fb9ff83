#include "WinTestUtil.h"

#include <psapi.h>
#include <vfw.h>

#include <cstring>
#include <fstream>
#include <set>

#include "MessagePump.h"
#include "codecs/Jpeg.h"
#include "imaging/DibSection.h"

namespace wintest {

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

void WriteJpeg(const std::string& path, int w, int h, base::Bgr color, bool ramp) {
  base::Bitmap b(w, h, color);
  if (ramp)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        b.SetPixel(
            x, y,
            base::Bgr{std::uint8_t(255 * y / h), std::uint8_t(160), std::uint8_t(255 * x / w)});
  const auto jpeg = codecs::EncodeJpeg(b.View(), 90);
  WriteBytes(path, std::string(jpeg.begin(), jpeg.end()));
}

std::string BmpBytes(const base::Bitmap& b) {
  const int stride = b.Stride();
  const std::uint32_t size = 54 + std::uint32_t(stride) * b.Height();
  std::string out(size, '\0');
  auto put32 = [&](int at, std::uint32_t v) { std::memcpy(&out[at], &v, 4); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, std::uint32_t(b.Width()));
  put32(22, std::uint32_t(b.Height()));
  out[26] = 1;
  out[28] = 24;
  for (int y = 0; y < b.Height(); ++y)
    std::memcpy(&out[54 + std::size_t(stride) * (b.Height() - 1 - y)], b.Row(y), stride);
  return out;
}

bool WriteAvi(const std::string& path, const std::vector<base::Bitmap>& frames) {
  DeleteFileA(path.c_str());
  AVIFileInit();
  PAVIFILE file = nullptr;
  bool ok = AVIFileOpenA(&file, path.c_str(), OF_CREATE | OF_WRITE, nullptr) == 0;
  PAVISTREAM stream = nullptr;
  if (ok) {
    const int w = frames[0].Width(), h = frames[0].Height();
    AVISTREAMINFOA info{};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = mmioFOURCC('D', 'I', 'B', ' ');
    info.dwScale = 1;
    info.dwRate = 10;
    info.dwSuggestedBufferSize = DWORD(frames[0].Stride() * h);
    SetRect(&info.rcFrame, 0, 0, w, h);
    ok = AVIFileCreateStreamA(file, &stream, &info) == 0;
    BITMAPINFOHEADER bi{sizeof bi, w, h, 1, 24, BI_RGB, DWORD(frames[0].Stride() * h)};
    ok = ok && AVIStreamSetFormat(stream, 0, &bi, sizeof bi) == 0;
    for (std::size_t i = 0; ok && i < frames.size(); ++i) {
      // Bottom-up rows, as an uncompressed DIB frame is stored.
      std::vector<std::uint8_t> rows(std::size_t(frames[i].Stride()) * h);
      for (int y = 0; y < h; ++y)
        std::memcpy(&rows[std::size_t(frames[i].Stride()) * (h - 1 - y)], frames[i].Row(y),
                    frames[i].Stride());
      ok = AVIStreamWrite(stream, LONG(i), 1, rows.data(), LONG(rows.size()), AVIIF_KEYFRAME,
                          nullptr, nullptr) == 0;
    }
  }
  if (stream) AVIStreamRelease(stream);
  if (file) AVIFileRelease(file);
  AVIFileExit();
  return ok;
}

namespace {
LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }
}  // namespace

HostWindow::HostWindow(int clientWidth, int clientHeight) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "ImgTestHost";
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  RegisterClassA(&wc);
  RECT r{0, 0, clientWidth, clientHeight};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
  AdjustWindowRect(&r, style, FALSE);
  hwnd_ = CreateWindowA("ImgTestHost", "TImgBox", style | WS_VISIBLE, 0, 0, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  test::PumpFor(50);
}

HostWindow::~HostWindow() { DestroyWindow(hwnd_); }

base::Bitmap CaptureClient(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  imaging::DibSection shot(r.right, r.bottom);
  {
    imaging::MemoryDc dc(shot.Handle());
    HDC src = GetDC(hwnd);
    BitBlt(dc.get(), 0, 0, r.right, r.bottom, src, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, src);
  }
  return shot.ToBitmap();
}

namespace {
PROCESS_MEMORY_COUNTERS MemoryCounters() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}
}  // namespace

SIZE_T PrivateBytes() { return MemoryCounters().PagefileUsage; }
SIZE_T PeakPrivateBytes() { return MemoryCounters().PeakPagefileUsage; }

int GdiObjects() { return int(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); }
int UserObjects() { return int(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)); }

int CountColors(const base::Bitmap& b, int limit) {
  std::set<std::uint32_t> seen;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const base::Bgr c = b.Pixel(x, y);
      seen.insert(c.b | c.g << 8 | c.r << 16);
      if (int(seen.size()) >= limit) return limit;
    }
  return int(seen.size());
}

}  // namespace wintest
