// TForm1, the main window: construction, showing, closing and its message handling.
#include "app/MainWindow.h"

#include <commctrl.h>

#include "app/MainPanelSettings.h"
#include "app/Resources.h"
#include "base/Sjis.h"
#include "ui/Application.h"
#include "ui/Font.h"
#include "ui/Hint.h"

namespace {
constexpr int kTopPanelHeight = 26;
constexpr int kStatusBarHeight = 19;
}  // namespace

TForm1::TForm1() {
  CreateForm(ui::Application::Title(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 640, 480);
  SetClientSize(601, 364);
  KeyPreview = true;
  CreateComponents();
  WireFileOps();
  FormCreate();
}

TForm1::~TForm1() { ui::Application::OnHint = nullptr; }

void TForm1::CreateComponents() {
  const HWND form = Handle();
  crossPF_pnlTop.CreatePanel(form, 0, 0, 601, kTopPanelHeight);
  crossPF_pnlBase.CreatePanel(form, 0, kTopPanelHeight, 601, 282);
  statusbar1.CreatePanel(form, 0, kTopPanelHeight + 282, 601, 364 - kTopPanelHeight - 282);

  // The cross bar: four panes and five bar panels in the base panel.
  const HWND base = crossPF_pnlBase.Handle();
  for (ui::Panel* p :
       {&crossPF_pnlUL, &crossPF_pnlUR, &crossPF_pnlDL, &crossPF_pnlDR, &crossPF_pnlCenter,
        &crossPF_pnlLeft, &crossPF_pnlRight, &crossPF_pnlUp, &crossPF_pnlDown})
    p->CreatePanel(base, 0, 0, 10, 10);
  ApplyPanels(app::InitialCrossPanels());
  CreateToolBars();
  for (ui::Panel* p : {&crossPF_pnlCenter, &crossPF_pnlLeft, &crossPF_pnlRight, &crossPF_pnlUp,
                       &crossPF_pnlDown}) {
    p->BevelOuter = ui::Bevel::Raised;
  }
  crossPF_pnlCenter.Cursor = LoadCursorA(nullptr, IDC_SIZEALL);
  crossPF_pnlLeft.Cursor = crossPF_pnlRight.Cursor = LoadCursorA(nullptr, IDC_SIZENS);
  crossPF_pnlUp.Cursor = crossPF_pnlDown.Cursor = LoadCursorA(nullptr, IDC_SIZEWE);
  WireCrossBar();
  WireNavigation();
  WireCommands();
  WirePreviews();
  WireSearch();
  WireArchives();
  WireViewers();

  // Upper left: recent-folders combo over the folder tree.
  PaneLeftTop.CreatePanel(crossPF_pnlUL.Handle(), 0, 0, 150, 20);
  ComboBox1.CreateComboBox(PaneLeftTop.Handle(), 0, 0, 150, 10);
  ui::SetHint(ComboBox1.Handle(), "履歴フォルダ");
  PaneLeftTop.OnResize = [this](ui::Window&) { PaneLeftTopResize(); };
  ShellTreeView1.CreateFolderView(crossPF_pnlUL.Handle(), 0, 20, 150, 100);
  ShellTreeView1.SetShowRoot(false);
  ShellTreeView1.RightClickSelect = true;
  ShellTreeView1.SetHideSelection(false);
  ShellTreeView1.SetIndent(20);
  crossPF_pnlUL.OnResize = [this](ui::Window& pane) {
    PaneLeftTop.SetBounds(0, 0, pane.ClientWidth(), 20);
    ShellTreeView1.SetBounds(0, 20, pane.ClientWidth(), pane.ClientHeight() - 20);
  };

  // Upper right: the thumbnail panel.
  ApplyMainPanelSettings(ImgPanel1);
  ImgPanel1.CreatePanel(crossPF_pnlUR.Handle(), 0, 0, 10, 10);
  crossPF_pnlUR.OnResize = [this](ui::Window& pane) {
    ImgPanel1.SetBounds(0, 0, pane.ClientWidth(), pane.ClientHeight());
  };

  // Lower left: flip/rotate toolbar over the preview box.
  ImgBoxPre.SetSizeType(imaging::ispStretch);
  ImgBoxPre.CreateBox(crossPF_pnlDL.Handle(), 0, 18, 10, 10);
  ui::SetHint(ImgBoxPre.Handle(), "左クリックで最大画面表示、右クリックで見開き画面表示");
  crossPF_pnlDL.OnResize = [this](ui::Window& pane) {
    ToolBar2.SetBounds(0, 0, pane.ClientWidth(), 18);
    ImgBoxPre.SetBounds(0, 18, pane.ClientWidth(), pane.ClientHeight() - 18);
  };

  // Lower right: the file list.
  ShellListView1.CreateFileView(crossPF_pnlDR.Handle(), 0, 0);
  ListView_SetExtendedListViewStyle(ShellListView1.Handle(),
                                    LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  ShellTreeView1.SetFileView(&ShellListView1);
  ShellTreeView1.SetMyImgPanel(&ImgPanel1);
  crossPF_pnlDR.OnResize = [this](ui::Window& pane) {
    ShellListView1.SetBounds(0, 0, pane.ClientWidth(), pane.ClientHeight());
  };

  // Floating hover previews, hidden until used.
  Panel1.CreatePanel(base, 0, 0, 96, 32);
  Panel1.BevelOuter = ui::Bevel::Raised;
  for (imaging::TImgBox* box : {&ImgBox1, &ImgBox2, &ImgBox3}) {
    box->SetSizeType(imaging::ispStretch);
    box->CreateBox(Panel1.Handle(), 0, 0, 32, 32);
  }
  Panel3.CreatePanel(base, 0, 0, 100, 100);
  Panel3.BevelOuter = ui::Bevel::Raised;
  ImgBoxMau.SetSizeType(imaging::ispStretch);
  ImgBoxMau.CreateBox(Panel3.Handle(), 0, 0, 100, 100);
  Panel1.Hide();
  Panel3.Hide();

  // Bottom area: add-tab button and favourite tabs above the status bar.
  TabControl1.CreateTabControl(statusbar1.Handle(), 22, 0, 579, TabRowHeight, 70, 22);
  StatusBar2.CreateStatusBar(statusbar1.Handle(), 0, TabRowHeight, 601, kStatusBarHeight);
  ui::Application::OnHint = [this](const std::string& hint) { StatusBar2.ShowHint(hint); };
  statusbar1.OnResize = [this](ui::Window& area) {
    const int tabsHeight = area.ClientHeight() - kStatusBarHeight;
    SpeedButton1.SetBounds(0, 0, 22, 22);
    TabControl1.SetBounds(22, 0, area.ClientWidth() - 22, tabsHeight);
    StatusBar2.SetBounds(0, tabsHeight, area.ClientWidth(), kStatusBarHeight);
  };

  Timer1.SetInterval(200);

  // The panes keep their initial geometry until the first accepted layout, which a stored
  // cross point near the edges never gives: their contents must fill them from the start.
  for (ui::Panel* pane : {&crossPF_pnlUL, &crossPF_pnlUR, &crossPF_pnlDL, &crossPF_pnlDR})
    pane->OnResize(*pane);
}

void TForm1::CreateToolBars() {
  using ui::ButtonStyle;
  toolbarImages_.reset(LoadToolbarImages(ToolbarStrip::Main));
  ToolBar1.CreateToolBar(crossPF_pnlTop.Handle(), 0, 2, 601, 22, toolbarImages_.get(), 23, 22);
  const ToolButtonSpec kMain[] = {
      {cmdSinki, ButtonStyle::Button, "新規フォルダ作成(右クリックで選択フォルダ削除)", true},
      {cmdKosin, ButtonStyle::Check, "最新の情報に更新(On/Off)", false},
      {cmdMae, ButtonStyle::Button, "前のフォルダに戻る(右クリックで次のフォルダに進む)", true},
      {cmdZenkai, ButtonStyle::Button, "前回終了したフォルダを表示", false},
      {cmdKensak, ButtonStyle::Button, "ファイル検索(中止はこのボタンを右クリック)", true},
      {0, ButtonStyle::Separator, "", false},
      {cmdSaidai, ButtonStyle::Button, "選択画像を最大画面表示(右クリックでサブフォルダも含む)",
       true},
      {cmdMihirak, ButtonStyle::Button, "見開き画面表示", false},
      {0, ButtonStyle::Separator, "", false},
      {cmdGomibako, ButtonStyle::Button, "選択ファイルをゴミ箱へ", false},
      {cmdPaste, ButtonStyle::Button, "現在のフォルダ内に貼り付け", false},
      {cmdCopy, ButtonStyle::Button, "選択ファイルをコピー(右クリックで移動)", true},
      {cmdKaito, ButtonStyle::Button, "選択ファイルを解凍", false},
      {cmdAsyuk, ButtonStyle::Button, "選択ファイルをLHA圧縮", false},
      {cmdFZenSen, ButtonStyle::Button, "ファイルパネルのファイルを全て選択", false},
      {cmdImageZenSen, ButtonStyle::Button, "イメージパネルの画像を全て選択", false},
      {0, ButtonStyle::Separator, "", false},
      {cmdSamSaiz, ButtonStyle::Button, "サムネイルサイズ変更", false},
      {cmdCaption, ButtonStyle::Check, "サムネイルにキャプションを表示 On/Off", false},
      {cmdSIcon, ButtonStyle::Check, "サムネイルにスモールアイコンを表示 On/Off", false},
      {cmdFoldPrev, ButtonStyle::Check, "フォルダパネル内プレビュー On/Off", false},
      {cmdImgPrev, ButtonStyle::Check, "イメージパネル内プレビュー On/Off", false},
      {0, ButtonStyle::Separator, "", false},
      {cmdVajHel, ButtonStyle::Button, "バージョン＆ヘルプ", false},
  };
  ToolBar1.AddButtons(MakeToolButtons(kMain));

  previewImages_.reset(LoadToolbarImages(ToolbarStrip::Preview));
  ToolBar2.CreateToolBar(crossPF_pnlDL.Handle(), 0, 0, 150, 18, previewImages_.get(), 20, 18);
  const ToolButtonSpec kPreview[] = {
      {cmdJoge, ButtonStyle::Button, "上下反転", false},
      {cmdHidari, ButtonStyle::Button, "左回転", false},
      {cmdMigi, ButtonStyle::Button, "右回転", false},
      {cmdSayu, ButtonStyle::Button, "左右反転", false},
  };
  ToolBar2.AddButtons(MakeToolButtons(kPreview));

  tabButtonImage_.reset(LoadToolbarImages(ToolbarStrip::AddTab));
  SpeedButton1.CreateToolBar(statusbar1.Handle(), 0, 0, 22, 22, tabButtonImage_.get(), 22, 22);
  const ToolButtonSpec kAddTab[] = {
      {cmdAddTab, ButtonStyle::Button, "現在フォルダをタブに追加(削除はタブを右クリック)", false},
  };
  SpeedButton1.AddButtons(MakeToolButtons(kAddTab));
}

std::string TForm1::ExeFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return base::ExtractFilePath(path);
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) FormResize();
      return 0;
    case WM_SHOWWINDOW:
      if (wp) FormShow();
      break;
    case WM_DESTROY:
      FormDestroy();
      PostQuitMessage(0);
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void TForm1::FormClose() {
  FormCloseHandler();
  DestroyWindow(Handle());
}
