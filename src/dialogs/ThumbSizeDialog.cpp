// TForm3, the thumbnail-size dialog.
#include "dialogs/ThumbSizeDialog.h"

#include "base/Sjis.h"
#include "dialogs/DialogControls.h"
#include "dialogs/ThumbSizeRules.h"
#include "ui/Hint.h"

using dialogs::TScrollCode;

namespace {

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return base::ExtractFilePath(path);
}

TScrollCode ScrollCodeOf(WORD code) {
  switch (code) {
    case SB_LINERIGHT:
      return TScrollCode::LineDown;
    case SB_LINELEFT:
      return TScrollCode::LineUp;
    case SB_PAGERIGHT:
      return TScrollCode::PageDown;
    case SB_PAGELEFT:
      return TScrollCode::PageUp;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      return TScrollCode::Track;
    case SB_LEFT:
      return TScrollCode::First;
    case SB_RIGHT:
      return TScrollCode::Last;
    default:
      return TScrollCode::Other;
  }
}

}  // namespace

TForm3::TForm3() : DummyFolder(ExeFolder() + "dmyfld") {
  CreateForm("サムネイルサイズ", WS_CAPTION | WS_SYSMENU | WS_POPUP,
             WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, 230, 100);
  SetClientSize(220, 67);
  CenterOnScreen();
  ScrollBar1 =
      dialogs::CreateChild(Handle(), "SCROLLBAR", "", SBS_HORZ | WS_TABSTOP, 8, 8, 201, 17, 0);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS, dialogs::kThumbSizeMin, dialogs::kThumbSizeMax, 0,
                position_};
  SetScrollInfo(ScrollBar1, SB_CTL, &si, TRUE);
  ui::SetHint(ScrollBar1, "サムネイルサイズ変更");
  Label1 = dialogs::CreateChild(Handle(), "STATIC", "サイズを大きくしすぎて、画面が空白に", SS_LEFT,
                                8, 32, 212, 13, 0);
  Label2 = dialogs::CreateChild(Handle(), "STATIC", "なった時はサイズを小さくしてくださいね。",
                                SS_LEFT, 8, 48, 212, 13, 0);
}

void TForm3::SetPosition(int position) {
  position = dialogs::ClampThumbSize(position);
  if (position == position_) return;
  position_ = position;
  SetScrollPos(ScrollBar1, SB_CTL, position_, TRUE);
  ScrollBar1Change();
}

void TForm3::FormShow() {
  if (GetImageHeight) SetPosition(GetImageHeight());
  SetText("サムネイルサイズ=" + std::to_string(position_));
}

void TForm3::ScrollBar1Change() {
  // One guard around the whole change: a failing step leaves the panel as it got.
  try {
    const std::string folder = GetFolderPath ? GetFolderPath() : std::string();
    if (GetFileAttributesA(DummyFolder.c_str()) == INVALID_FILE_ATTRIBUTES)
      CreateDirectoryA(DummyFolder.c_str(), nullptr);
    if (SetFolderPath) SetFolderPath(DummyFolder);
    if (SetImageSize) SetImageSize(position_);
    if (PlaceImageBoxes) PlaceImageBoxes(position_);
    if (SetFolderPath) SetFolderPath(folder);
    SetText("サムネイルサイズ=" + std::to_string(position_));
  } catch (...) {
  }
}

LRESULT TForm3::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lp) == ScrollBar1) {
        SetPosition(dialogs::NextThumbSize(position_, ScrollCodeOf(LOWORD(wp)), HIWORD(wp)));
        return 0;
      }
      break;
    case WM_SHOWWINDOW:
      if (wp) FormShow();
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}
