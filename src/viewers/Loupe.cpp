// TForm8, the loupe over the spread viewer.
#include "viewers/Loupe.h"

#include "ui/Hint.h"
#include "viewers/LoupeGeometry.h"
#include "viewers/SpreadViewer.h"

TForm8::TForm8(TForm7& form7) : form7_(form7) {
  CreateForm("ルーペ", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME, WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
             200, 220);
  SetClientSize(192, 196);
  CenterOnScreen();
  KeyPreview = true;
  OnKeyDown = [this](ui::Form&, WORD& key, UINT) { FormKeyDown(key); };
  Image1.CreatePicture(Handle(), 0, 0, 192, 196);
  ui::SetHint(Image1.Handle(), "クリックで倍率切替え 2倍/4倍");
  Image1.OnMouseDown = [this](ui::Window&, ui::MouseButton b, WPARAM, int, int) {
    Image1MouseDown(b);
  };
  OnResize = [this](ui::Window&) { Image1.SetBounds(0, 0, ClientWidth(), ClientHeight()); };
  Timer1.SetInterval(100);
  Timer1.OnTimer = [this](ui::Timer&) { Timer1Timer(); };
  form7_.Form8 = this;
}

TForm8::~TForm8() {
  Timer1.SetEnabled(false);
  if (form7_.Form8 == this) form7_.Form8 = nullptr;
}

LRESULT TForm8::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) FormShow();
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = POINT{100, 130};
      info->ptMaxTrackSize = POINT{300, 330};
      return 0;
    }
    case WM_MOUSEWHEEL:  // the keys go to the spread viewer's commands, and so does the wheel
      return SendMessageA(form7_.Handle(), msg, wp, lp);
  }
  return Form::HandleMessage(msg, wp, lp);
}

void TForm8::FormShow() {
  offset_ = POINT{0, 0};
  Timer1.SetEnabled(true);
}

void TForm8::FormClose() {
  Timer1.SetEnabled(false);
  Hide();
  form7_.LoupeClosed();
}

POINT TForm8::CurrentOffset() const { return POINT{Left() - form7_.Left(), Top() - form7_.Top()}; }

void TForm8::Timer1Timer() {
  const POINT now = CurrentOffset();
  if (now.x == offset_.x && now.y == offset_.y) return;
  offset_ = now;
  kakudai();
}

void TForm8::Image1MouseDown(ui::MouseButton button) {
  if (button != ui::MouseButton::Left) return;
  Magnification = Magnification == 2 ? 4 : 2;
  kakudai();
}

void TForm8::kakudai() {
  const viewers::LoupePage page =
      viewers::ChooseLoupePage(Left() - form7_.Left(), form7_.ImgBox2.Width(), Width());
  Draw(page.right ? form7_.ImgBox1 : form7_.ImgBox2, page.offset);
}

void TForm8::Draw(imaging::TImgBox& box, int offset) {
  try {
    SetText("倍率=" + std::to_string(Magnification));
    const imaging::TImgUtil& engine = box.ImgUtil();
    const viewers::LoupeView view{
        engine.SourceWidth, engine.SourceHeight, box.Width(), box.Height(),        ClientWidth(),
        ClientHeight(),     Magnification,       offset,      Top() - form7_.Top()};
    Image1.SetPicture(viewers::MagnifyRect(engine.Bitmap.View(), viewers::LoupeSource(view),
                                           ClientWidth(), ClientHeight()));
  } catch (...) {
    // Whatever fails here leaves the last picture.
  }
}

void TForm8::FormKeyDown(WORD key) {
  switch (key) {
    case VK_UP:
      form7_.tbtnRupeClick();
      break;
    case VK_LEFT:
      form7_.TrackBar1.SetPosition(form7_.TrackBar1.Position() - 1);
      break;
    case VK_RIGHT:
      form7_.TrackBar1.SetPosition(form7_.TrackBar1.Position() + 1);
      break;
    case VK_SPACE:
      form7_.tbtnSyapuClick();
      break;
    case VK_ESCAPE:
      FormClose();
      break;
    case VK_RETURN:
      form7_.Action4Execute();
      break;
    case VK_NEXT:
      form7_.Action2Execute();
      break;
    case VK_PRIOR:
      form7_.Action1Execute();
      break;
  }
}
