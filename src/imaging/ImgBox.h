#pragma once
// TImgBox: a focusable window showing one picture, loaded through its own TImgUtil, at its
// real size (centred, scrollable) or fitted to the window. Painting and scrolling copy
// from a back buffer; the picture is resampled only when loaded, replaced, resized while
// fitted, or switched between size types.
#include <windows.h>

#include <functional>
#include <string>

#include "base/Bitmap.h"
#include "imaging/ImgBoxGeometry.h"
#include "imaging/ImgUtils.h"
#include "ui/Window.h"

namespace imaging {

enum TBorderStyle { bsNone, bsSingle };
enum TSizeType { ispImage, ispStretch };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomImgBox : public ui::Window {
 public:
  TCustomImgBox();

  // Creates the window (class "TImgBox") as a child of parent.
  void CreateBox(HWND parent, int x = 0, int y = 0, int width = 250, int height = 150);

  // Loads FileName for a box of the control's outer size; the loader's result (0 = shown).
  int LoadFromFile(const std::string& FileName);
  // Shows a copy of Bitmap in place of the loaded picture (only while the last load
  // succeeded); true.
  bool SetBitmap(const base::Bitmap& Bitmap);

  TImgUtil& ImgUtil() { return imgUtil_; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TSizeType SizeType() const { return sizeType_; }
  void SetSizeType(TSizeType value);
  COLORREF Color() const { return color_; }
  void SetColor(COLORREF value);
  bool TabStop = true;  // read when the window is created
  TScrollStyle ScrollBars = ssBoth;

  // State, for the program's status line and for tests.
  const std::string& FileName() const { return fileName_; }
  bool Loaded() const { return loaded_; }
  const PicRect& PictureRect() const { return picRect_; }
  const base::Bitmap& BackBuffer() const { return buffer_; }
  int ScrollX() const { return scrollX_; }
  int ScrollY() const { return scrollY_; }
  bool VertBarShown() const { return vertShown_; }
  bool HorzBarShown() const { return horzShown_; }

  // Events besides the mouse and resize events of ui::Window.
  std::function<void(TCustomImgBox& sender)> OnPaint;
  std::function<void(TCustomImgBox& sender)> OnClick;
  std::function<void(TCustomImgBox& sender)> OnDblClick;
  std::function<void(TCustomImgBox& sender, WPARAM keys, int delta, int x, int y, bool& handled)>
      OnMouseWheel;
  std::function<void(TCustomImgBox&sender, WPARAM keys, int x, int y, bool&handled)>
      OnMouseWheelDown, OnMouseWheelUp;
  std::function<void(TCustomImgBox&sender, WORD&key)> OnKeyDown, OnKeyUp;
  std::function<void(TCustomImgBox& sender, char& key)> OnKeyPress;
  std::function<void(TCustomImgBox&sender)> OnEnter, OnExit;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateWindowNow(HWND parent, int x, int y, int width, int height);
  void Recreate();
  void ClearBuffer();
  void UpdateImage();
  void UpdateScrollBars(bool reset);
  void UpdateBar(int bar, bool allowed, bool& shown, bool otherShown, int client, int picture,
                 int& pos, int& max);
  void Scroll(int bar, int request);
  void ScrollBy(int dx, int dy);
  void Paint();
  int ScrollStep();

  TImgUtil imgUtil_;
  TBorderStyle borderStyle_ = bsSingle;
  TSizeType sizeType_ = ispImage;
  COLORREF color_ = 0xFFFFFF;
  base::Bitmap buffer_;
  std::string fileName_;
  bool loaded_ = false;
  PicRect picRect_;
  bool vertShown_ = false, horzShown_ = false;
  int scrollX_ = 0, scrollY_ = 0;
  int vertMax_ = 0, horzMax_ = 0;
  int scrollStep_ = -1;
  bool leftPressed_ = false;
};

class TImgBox : public TCustomImgBox {};

}  // namespace imaging
