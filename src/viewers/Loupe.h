#pragma once
// TForm8, the loupe over the spread viewer: a small always-on-top window that shows the
// part of the page under it, magnified 2 or 4 times, and redraws when it has been moved
// relative to the spread viewer.
#include "imaging/ImgBox.h"
#include "ui/Form.h"
#include "ui/Timer.h"
#include "viewers/PictureControl.h"

class TForm7;

class TForm8 : public ui::Form {
 public:
  explicit TForm8(TForm7& form7);
  ~TForm8() override;

  viewers::PictureControl Image1;
  ui::Timer Timer1;
  int Magnification = 2;

  void Timer1Timer();
  void Image1MouseDown(ui::MouseButton button);
  void kakudai();
  // Forces a redraw at the next check (after a page turn).
  void MarkStale() { offset_.x = -999; }
  void Close() { FormClose(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormClose() override;

 private:
  void FormShow();
  void FormKeyDown(WORD key);
  void Draw(imaging::TImgBox& box, int offset);
  POINT CurrentOffset() const;

  TForm7& form7_;
  POINT offset_{};
};
