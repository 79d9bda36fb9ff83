#pragma once
// TForm5, the full-screen viewer: one image at a time over the work area, stepped by hand
// or as a timed slideshow through the thumbnail panel's items (panel mode) or through
// everything under the current folder (subfolder mode, at most 1000 entries).
#include <string>
#include <vector>

#include "imaging/CustomLoader.h"
#include "imaging/ImgBox.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/Timer.h"
#include "ui/ToolBar.h"
#include "ui/TrackBar.h"
#include "viewers/ViewerHost.h"
#include "viewers/ViewerPosition.h"

class TForm5 : public ui::Form {
 public:
  TForm5();

  viewers::ViewerHost Host;

  enum : int {
    tbtnJogeHan = 1,
    tbtnHidarikait,
    tbtnMigikait,
    tbtnSayuhanten,
    tbtnSentoHyoj,
    tbtnStop,
    tbtnStart,
    tbtnModoru,
    tbtnSusumu,
    SpeedButton2,
    SpeedButton1
  };
  ui::Panel Panel1;  // the top bar
  ui::ToolBar ToolBar1;
  ui::TrackBar TrackBar1;
  ui::Label Label1, Label2, Label3;
  ui::Panel Panel3;
  ui::ToolBar Panel3Buttons;  // SpeedButton2 (wallpaper) and SpeedButton1 (close)
  imaging::TImgBox ImgBoxBig;
  ui::Timer Timer1;

  // The openings of the main window's commands of the same names: the panel's items from
  // PreviewFile on, or everything under CurrentFolder from its first entry.
  void saidaika();
  void subsaidaika();

  bool SubFolderMode = false;
  std::vector<std::string> SubFolderList;
  int Position() const { return SubFolderMode ? subPosition_ : panelPosition_; }
  bool SlideRunning() const { return Timer1.Enabled(); }

  void ActionSStartExecute();
  void ActionSStopExecute();
  void ActionMaeExecute();
  void ActionTugiExecute();
  void ActionSentoExecute();
  void Timer1Timer();
  void TrackBar1Change();
  void tbtnJogeHanClick();
  void tbtnSayuhantenClick();
  void tbtnHidarikaitClick();
  void tbtnMigikaitClick();
  void SpeedButton2Click();
  void SpeedButton1Click();

  // The wallpaper file in the Windows folder.
  static std::string WallpaperPath();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormClose() override;

 private:
  void CreateControls();
  void LayoutControls();
  void FormShow();
  void FormKeyDown(WORD key);
  void FindFileSFFind(const std::string& searched, const std::string& name, bool& cancel);
  void ShowEntry();
  int EntryCount() const;
  int& ActivePosition() { return SubFolderMode ? subPosition_ : panelPosition_; }
  void ImgBoxBigMouseDown(ui::MouseButton button, int x, int y);
  void ImgBoxBigMouseUp(int x, int y);
  void ImgBoxBigMouseWheel(int delta);
  void SaveWallpaper();
  void FocusImage();

  imaging::TImgCustomTest customLoader_;
  ui::UniqueBitmap toolImages_, closeImages_;
  int subPosition_ = 0;
  int panelPosition_ = 0;
  bool leftDrag_ = false, rightDrag_ = false;
  POINT leftStart_{}, rightStart_{};
  viewers::WheelPaging wheel_;
};
