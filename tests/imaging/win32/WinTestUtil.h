#pragma once
// Files and windows the Windows tests of the image engine make for themselves.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/Bitmap.h"

namespace wintest {

void WriteBytes(const std::string& path, const std::string& bytes);
// A JPEG of w x h: a flat colour, or a colour ramp when ramp is set.
void WriteJpeg(const std::string& path, int w, int h, base::Bgr color, bool ramp = false);
// A 24-bit bottom-up BMP file of the bitmap.
std::string BmpBytes(const base::Bitmap& b);
// An uncompressed AVI video of the given frames (all of one size) at 10 frames a second.
bool WriteAvi(const std::string& path, const std::vector<base::Bitmap>& frames);

// A top-level window to put controls on, shown at (0, 0).
class HostWindow {
 public:
  HostWindow(int clientWidth, int clientHeight);
  ~HostWindow();
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// The window's client area as it is on the screen.
base::Bitmap CaptureClient(HWND hwnd);
int GdiObjects();
// The process's committed private memory now, and the most it has had.
SIZE_T PrivateBytes();
SIZE_T PeakPrivateBytes();
int UserObjects();
// Distinct colours of a bitmap, up to limit.
int CountColors(const base::Bitmap& b, int limit = 16);

}  // namespace wintest
