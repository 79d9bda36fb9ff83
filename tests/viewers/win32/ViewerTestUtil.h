#pragma once
// Sample pictures, message pumping and window pictures for the viewers' window tests.
#include <windows.h>

#include <string>
#include <vector>

#include "MessagePump.h"
#include "WindowPicture.h"
#include "base/Bitmap.h"

namespace viewertest {

// A w x h picture: a colour ramp with a dark disc, its hue chosen by seed.
base::Bitmap SamplePicture(int w, int h, int seed);
void WriteBmp(const std::string& path, const base::Bitmap& picture);
// Sample pictures for the screenshots in a folder of the Wine prefix's own drive C:, so
// that no folder of the build machine is shown; their paths.
std::vector<std::string> ScreenshotSamples(const std::string& folder, int count, int w, int h);
inline void Pump(DWORD ms = 200) { ::test::PumpFor(ms); }
// The window's outer area as on the screen, saved as a bitmap file.
using ::test::SaveWindowPicture;
void SaveScreenArea(const RECT& area, const std::string& path);
// Distinct colours of a bitmap, up to limit.
int CountColors(const base::Bitmap& b, int limit = 16);

}  // namespace viewertest
