#pragma once
// Sample pictures, message pumping and a message-box answerer for the viewers' window tests.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/Bitmap.h"

namespace viewertest {

// A w x h picture: a colour ramp with a dark disc, its hue chosen by seed.
base::Bitmap SamplePicture(int w, int h, int seed);
void WriteBmp(const std::string& path, const base::Bitmap& picture);
// Sample pictures for the screenshots in a folder of the Wine prefix's own drive C:, so
// that no folder of the build machine is shown; their paths.
std::vector<std::string> ScreenshotSamples(const std::string& folder, int count, int w, int h);
void Pump(DWORD ms = 200);
// The window's outer area as on the screen, saved as a bitmap file.
void SaveWindowPicture(HWND hwnd, const std::string& path);
void SaveScreenArea(const RECT& area, const std::string& path);
// Distinct colours of a bitmap, up to limit.
int CountColors(const base::Bitmap& b, int limit = 16);

// Answers every message box of this process with IDOK, keeping their texts.
class BoxAnswerer {
 public:
  BoxAnswerer();
  ~BoxAnswerer();
  std::vector<std::string> Texts();

 private:
  static BOOL CALLBACK Answer(HWND hwnd, LPARAM self);
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> texts_;
  std::thread thread_;
};

}  // namespace viewertest
