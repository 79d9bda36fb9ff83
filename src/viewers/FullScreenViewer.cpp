// TForm5, the full-screen viewer: window, controls, opening and stepping.
#include "viewers/FullScreenViewer.h"

#include "ui/Hint.h"
#include "viewers/MouseGestures.h"
#include "viewers/PageBox.h"
#include "viewers/ToolGlyphs.h"

using viewers::DragKind;

namespace {
constexpr int kBarHeight = 25;
constexpr int kPanel3Width = 42;
constexpr int kMaxSubfolderEntries = 1000;
}  // namespace

TForm5::TForm5() {
  // Never visible by its title; the wallpaper command finds the window by it.
  CreateForm("Form5", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, 640, 480);
  KeyPreview = true;
  OnKeyDown = [this](ui::Form&, WORD& key, UINT) { FormKeyDown(key); };
  CreateControls();
  Timer1.OnTimer = [this](ui::Timer&) { Timer1Timer(); };
  OnResize = [this](ui::Window&) { LayoutControls(); };
}

void TForm5::CreateControls() {
  Panel1.CreatePanel(Handle(), 0, 0, 640, kBarHeight);
  toolImages_ = viewers::MakeGlyphStrip({"↓", "←", "→", "↑", "|<", "■", "≫", "＜", "＞"});
  ToolBar1.CreateToolBar(Panel1.Handle(), 0, 1, 215, 23, toolImages_.get(), 23, 22);
  using ui::ButtonStyle;
  ToolBar1.AddButtons({
      {tbtnJogeHan, ButtonStyle::Button, 0, "画像上下反転[↓]", false,
       [this] { tbtnJogeHanClick(); }},
      {tbtnHidarikait, ButtonStyle::Button, 1, "画像左回転[←]", false,
       [this] { tbtnHidarikaitClick(); }},
      {tbtnMigikait, ButtonStyle::Button, 2, "画像右回転[→]", false,
       [this] { tbtnMigikaitClick(); }},
      {tbtnSayuhanten, ButtonStyle::Button, 3, "画像左右反転[↑]", false,
       [this] { tbtnSayuhantenClick(); }},
      {0, ButtonStyle::Separator},
      {tbtnSentoHyoj, ButtonStyle::Button, 4, "先頭の画像表示[Home]", false,
       [this] { ActionSentoExecute(); }},
      {tbtnStop, ButtonStyle::Button, 5, "スライドストップ[Space]", false,
       [this] { ActionSStopExecute(); }},
      {tbtnStart, ButtonStyle::Button, 6, "スライドスタート[Enter]", false,
       [this] { ActionSStartExecute(); }},
      {tbtnModoru, ButtonStyle::Button, 7, "戻る[PageUp]", false, [this] { ActionMaeExecute(); }},
      {tbtnSusumu, ButtonStyle::Button, 8, "進む[PageDown]", false,
       [this] { ActionTugiExecute(); }},
  });
  TrackBar1.CreateTrackBar(Panel1.Handle(), 218, 0, 85, kBarHeight);
  TrackBar1.SetRange(1, 30);
  TrackBar1.SetPageSize(5);
  TrackBar1.SetTickFrequency(1);
  TrackBar1.OnChange = [this](ui::TrackBar&) { TrackBar1Change(); };
  ui::SetHint(TrackBar1.Handle(), "スライド時間間隔");
  Label1.CreateLabel(Panel1.Handle(), 310, 6, 190, 14, "スライド");
  Label2.CreateLabel(Panel1.Handle(), 505, 6, 80, 14, "(枚目)");
  Label3.CreateLabel(Panel1.Handle(), 590, 6, 10, 14, "ファイル名");

  Panel3.CreatePanel(Panel1.Handle(), 640 - kPanel3Width, 0, kPanel3Width, kBarHeight);
  closeImages_ = viewers::MakeGlyphStrip({"壁", "×"});
  Panel3Buttons.CreateToolBar(Panel3.Handle(), 2, 2, 40, 21, closeImages_.get(), 19, 19);
  Panel3Buttons.AddButtons({
      {SpeedButton2, ButtonStyle::Button, 0, "この画像をアクティブデスクトップ壁紙に", false,
       [this] { SpeedButton2Click(); }},
      {SpeedButton1, ButtonStyle::Button, 1, "この画面を閉じる", false,
       [this] { SpeedButton1Click(); }},
  });

  viewers::CreatePageBox(ImgBoxBig, Handle(), customLoader_);
  ui::SetHint(ImgBoxBig.Handle(), "[PageUp][PageDown]キーで前後ページ移動");
  // The keys stay with the picture; a box in front of the viewer (an error message) keeps
  // the focus it has.
  ImgBoxBig.OnPaint = [this](imaging::TCustomImgBox&) {
    if (GetActiveWindow() == Handle()) FocusImage();
  };
  ImgBoxBig.OnMouseDown = [this](ui::Window&, ui::MouseButton b, WPARAM, int x, int y) {
    ImgBoxBigMouseDown(b, x, y);
  };
  ImgBoxBig.OnMouseUp = [this](ui::Window&, ui::MouseButton, WPARAM, int x, int y) {
    ImgBoxBigMouseUp(x, y);
  };
  ImgBoxBig.OnMouseWheel = [this](imaging::TCustomImgBox&, WPARAM, int delta, int, int, bool&) {
    ImgBoxBigMouseWheel(delta);
  };
}

void TForm5::LayoutControls() {
  const int w = ClientWidth(), h = ClientHeight();
  Panel1.SetBounds(0, 0, w, kBarHeight);
  Panel3.SetBounds(w - kPanel3Width, 0, kPanel3Width, kBarHeight);
  Label3.SetBounds(590, 6, std::max(w - kPanel3Width - 592, 0), 14);
  // The bar's own style: the window is laid out before it is shown, when no child counts as
  // visible, and the picture would lie under the bar.
  const bool barShown = GetWindowLongA(Panel1.Handle(), GWL_STYLE) & WS_VISIBLE;
  const int top = barShown ? kBarHeight : 0;
  ImgBoxBig.SetBounds(0, top, w, h - top);
}

LRESULT TForm5::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SHOWWINDOW && wp) FormShow();
  return Form::HandleMessage(msg, wp, lp);
}

void TForm5::saidaika() {
  SubFolderMode = false;
  if (Visible()) {
    SetForegroundWindow(Handle());
    return;
  }
  ImgBoxBig.LoadFromFile(Host.Preview());
  Label1.SetText("");
  Label2.SetText("(枚目)");
  Label3.SetText(Host.Preview());
  Show();
  SetForegroundWindow(Handle());
  Host.MainWindow(false);
}

void TForm5::subsaidaika() {
  SubFolderMode = true;
  SubFolderList.clear();
  subPosition_ = 0;
  if (Host.FindFiles &&
      !Host.FindFiles(Host.Folder(),
                      [this](const std::string& searched, const std::string& name, bool& cancel) {
                        FindFileSFFind(searched, name, cancel);
                      }))
    return;  // the program is ending: no viewer comes up
  if (Visible()) {
    SetForegroundWindow(Handle());
    return;
  }
  const std::string first = SubFolderList.empty() ? std::string() : SubFolderList[0];
  ImgBoxBig.LoadFromFile(first);
  Label1.SetText("サブフォルダ含む");
  Label2.SetText("(枚目)");
  Label3.SetText(first);
  Show();
  SetForegroundWindow(Handle());
  Host.MainWindow(false);
}

void TForm5::FindFileSFFind(const std::string& searched, const std::string& name, bool& cancel) {
  // A walk that goes on after the cancel still never grows the list past the limit.
  if (int(SubFolderList.size()) >= kMaxSubfolderEntries) {
    cancel = true;
    return;
  }
  SubFolderList.push_back(searched + "\\" + name);
  if (int(SubFolderList.size()) > kMaxSubfolderEntries - 1) cancel = true;
}

void TForm5::FormShow() {
  viewers::TTTKMouseGestures::SetMyCancel(true);
  Timer1.SetEnabled(false);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetBounds(work.left, work.top, work.right - work.left, work.bottom - work.top);
  if (SubFolderMode) {
    subPosition_ = 0;
  } else {
    if (const int found = Host.IndexOf(Host.Preview()); found >= 0) panelPosition_ = found;
    Label3.SetText(Host.Preview());
  }
  TrackBar1.SetPosition(3);
  Timer1.SetInterval(viewers::SlideIntervalMs(TrackBar1.Position()));
  leftDrag_ = rightDrag_ = false;
  leftStart_ = rightStart_ = POINT{};
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  wheel_.Reset(int(lines));
}

// The slideshow ends with the viewer: a hidden viewer decodes no more pictures.
void TForm5::FormClose() {
  Timer1.SetEnabled(false);
  Hide();
  Host.MainWindow(true);
}

int TForm5::EntryCount() const { return SubFolderMode ? int(SubFolderList.size()) : Host.Count(); }

void TForm5::ShowEntry() {
  const int position = Position();
  const int count = EntryCount();
  if (!viewers::ValidPosition(position, count)) return;
  const std::string path = SubFolderMode ? SubFolderList[position] : Host.Path(position);
  ImgBoxBig.LoadFromFile(path);
  Label3.SetText(path);
  Label2.SetText(viewers::PositionText(position, count));
}

void TForm5::FocusImage() {
  if (GetFocus() != ImgBoxBig.Handle()) SetFocus(ImgBoxBig.Handle());
}

void TForm5::ActionSStartExecute() {
  Timer1.SetEnabled(true);
  Label1.SetText(SubFolderMode ? "サブフォルダ含むスライド進行中" : "スライド進行中");
  FocusImage();
}

void TForm5::ActionSStopExecute() {
  Timer1.SetEnabled(false);
  Label1.SetText(SubFolderMode ? "サブフォルダ含むスライド停止中" : "スライド停止中");
  FocusImage();
}

void TForm5::ActionMaeExecute() {
  int& position = ActivePosition();
  position = viewers::PreviousPosition(position, SlideRunning());
  if (!SlideRunning()) ShowEntry();
  FocusImage();
}

void TForm5::ActionTugiExecute() {
  int& position = ActivePosition();
  position = viewers::NextPosition(position, EntryCount());
  if (!SlideRunning()) ShowEntry();
  FocusImage();
}

void TForm5::ActionSentoExecute() {
  ActivePosition() = viewers::FirstPosition(SlideRunning());
  if (!SlideRunning()) ShowEntry();
  FocusImage();
}

void TForm5::Timer1Timer() {
  try {
    int& position = ActivePosition();
    position = viewers::NextPosition(position, EntryCount());
    ShowEntry();
  } catch (...) {
    // The slideshow goes on.
  }
}

void TForm5::TrackBar1Change() {
  const int seconds = TrackBar1.Position();
  ui::SetHint(TrackBar1.Handle(), viewers::SlideIntervalHint(seconds));
  Timer1.SetInterval(viewers::SlideIntervalMs(seconds));
  FocusImage();
}

void TForm5::tbtnJogeHanClick() {
  if (Host.gazouhanten) Host.gazouhanten(ImgBoxBig, -1);
}
void TForm5::tbtnSayuhantenClick() {
  if (Host.gazouhanten) Host.gazouhanten(ImgBoxBig, 1);
}
void TForm5::tbtnHidarikaitClick() {
  if (Host.gazoukaiten) Host.gazoukaiten(ImgBoxBig, 270);
}
void TForm5::tbtnMigikaitClick() {
  if (Host.gazoukaiten) Host.gazoukaiten(ImgBoxBig, 90);
}

void TForm5::SpeedButton1Click() { FormClose(); }

void TForm5::FormKeyDown(WORD key) {
  switch (key) {
    case VK_ESCAPE:
      SpeedButton1Click();
      break;
    case VK_UP:
      tbtnSayuhantenClick();
      break;
    case VK_DOWN:
      tbtnJogeHanClick();
      break;
    case VK_LEFT:
      tbtnHidarikaitClick();
      break;
    case VK_RIGHT:
      tbtnMigikaitClick();
      break;
    case VK_PRIOR:
      ActionMaeExecute();
      break;
    case VK_NEXT:
      ActionTugiExecute();
      break;
    case VK_SPACE:
      ActionSStopExecute();
      break;
    case VK_RETURN:
      ActionSStartExecute();
      break;
    case VK_HOME:
      ActionSentoExecute();
      break;
  }
}

void TForm5::ImgBoxBigMouseDown(ui::MouseButton button, int x, int y) {
  leftDrag_ = rightDrag_ = false;
  if (button == ui::MouseButton::Right) {
    rightDrag_ = true;
    rightStart_ = POINT{x, y};
  } else if (button == ui::MouseButton::Left) {
    leftDrag_ = true;
    leftStart_ = POINT{x, y};
  }
}

void TForm5::ImgBoxBigMouseUp(int x, int y) {
  if (!leftDrag_ && !rightDrag_) return;
  const bool left = leftDrag_;
  const POINT start = left ? leftStart_ : rightStart_;
  leftDrag_ = rightDrag_ = false;
  switch (viewers::ClassifyDrag(x - start.x, y - start.y)) {
    case DragKind::Click:
      left ? ActionSStopExecute() : ActionSStartExecute();
      break;
    case DragKind::Down:
      left ? tbtnJogeHanClick() : SpeedButton1Click();
      break;
    case DragKind::Up:
      left ? tbtnSayuhantenClick() : ActionSentoExecute();
      break;
    case DragKind::Right:
      left ? tbtnMigikaitClick() : ActionTugiExecute();
      break;
    case DragKind::Left:
      left ? tbtnHidarikaitClick() : ActionMaeExecute();
      break;
  }
}

void TForm5::ImgBoxBigMouseWheel(int delta) {
  switch (wheel_.Turn(delta)) {
    case viewers::WheelPaging::Previous:
      ActionMaeExecute();
      break;
    case viewers::WheelPaging::Next:
      ActionTugiExecute();
      break;
    case viewers::WheelPaging::None:
      break;
  }
}
