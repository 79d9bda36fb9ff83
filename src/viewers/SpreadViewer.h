#pragma once
// TForm7, the two-page spread viewer: two consecutive items of the thumbnail panel side by
// side as the facing pages of a book read from right to left, with a sharpening switch, a
// movable border between the pages, the loupe and mouse gestures.
#include "imaging/BitmapUtils.h"
#include "imaging/CustomLoader.h"
#include "imaging/ImgBox.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/ToolBar.h"
#include "ui/TrackBar.h"
#include "viewers/MouseGestures.h"
#include "viewers/ViewerHost.h"
#include "viewers/ViewerPosition.h"

class TForm8;

namespace viewers {
// The fine-adjustment track bar: the wheel turns the viewer's pages even when the bar has
// the focus, so it goes to the window and never moves the bar.
class PageTrackBar : public ui::TrackBar {
 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};
}  // namespace viewers

class TForm7 : public ui::Form {
 public:
  TForm7();

  viewers::ViewerHost Host;
  TForm8* Form8 = nullptr;  // the loupe; it registers itself when created

  enum : int { tbtnZurasu = 1, tbtnMaeModoru, tbtnTugiSusumu, tbtnRupe, tbtnSyapu };
  ui::Panel PaneTop;
  ui::ToolBar ToolBar1;
  viewers::PageTrackBar TrackBar1;
  ui::Label Label1;
  ui::Panel PaneTopRight;
  ui::Panel PaneCenta;
  ui::Panel Panel2;  // left page
  ui::Panel Panel1;  // right page
  imaging::TImgBox ImgBox2;
  imaging::TImgBox ImgBox1;
  viewers::TAction Action1, Action2, Action3, Action4;
  viewers::TTTKMouseGestures TTKMouseGestures1;

  // What the main window's spread button does: focus when shown, else show the viewer and
  // hide the main window.
  void Open();

  void Action1Execute();  // previous spread
  void Action2Execute();  // next spread
  void Action3Execute();  // close
  void Action4Execute();  // shift by one page
  void tbtnRupeClick();
  void tbtnSyapuClick();
  void TrackBar1Change();
  void peijMekri();
  void syapu(imaging::TImgBox& box);

  int PagePosition() const { return pagePosition_; }
  bool Sharpen() const { return sharpen_; }
  bool LoupeOn() const { return loupe_; }
  // The loupe closed itself: the switch goes off with it.
  void LoupeClosed();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormClose() override;

 private:
  void CreateControls();
  void CreatePage(ui::Panel& panel, imaging::TImgBox& box);
  void FormShow();
  void FormResize();
  void LayoutPages();
  void FormKeyDown(WORD key);
  void FormMouseWheel(int delta, int x, int y);
  void TTKMouseGestures1GestureExec();

  imaging::TImgCustomTest customLoader_;
  imaging::TKernel3x3 kernel_ = imaging::kSharpenKernel;
  std::uint8_t divisor_ = 8, bias_ = 0;
  ui::UniqueBitmap toolImages_;
  int pagePosition_ = 0;
  bool sharpen_ = false;
  bool loupe_ = false;
  viewers::WheelPaging wheel_;
};
