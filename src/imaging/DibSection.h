#pragma once
// A 24-bit top-down DIB section: GDI draws into it and the core computes on the same
// pixels through a base::BitmapView.
#include <windows.h>

#include "base/Bitmap.h"
#include "ui/Handles.h"

namespace imaging {

// BITMAPINFO of a 24-bit top-down bitmap of width x height (the base::Bitmap layout).
BITMAPINFO BitmapInfo24(int width, int height);

class DibSection {
 public:
  // Throws Exception when the size is empty, too large or GDI refuses it.
  DibSection(int width, int height);

  HBITMAP Handle() const { return bitmap_.get(); }
  const base::BitmapView& View() const { return view_; }
  int Width() const { return view_.width; }
  int Height() const { return view_.height; }
  // The pixels as a plain bitmap (GDI's pending drawing flushed first).
  base::Bitmap ToBitmap() const;
  // Gives up the handle; the section then owns nothing.
  HBITMAP Release();

 private:
  ui::UniqueBitmap bitmap_;
  base::BitmapView view_;
};

// A memory DC compatible with the screen with one bitmap selected for its lifetime.
class MemoryDc {
 public:
  explicit MemoryDc(HBITMAP bitmap);
  HDC get() const { return dc_.get(); }

 private:
  ui::UniqueDc dc_;
  ui::ScopedSelect select_;
};

}  // namespace imaging
