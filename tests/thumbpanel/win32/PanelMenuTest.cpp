// The panel's context menu on a real folder through Wine's shell: when it shows, what it
// holds, the owner's items merged in, and the chosen command run.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "FakeShell.h"
#include "MenuDriver.h"
#include "PanelMenuFixture.h"
#include "fsservices/DropTarget.h"
#include "thumbpanel/FileDataObject.h"
#include "ui/Application.h"

namespace thumbpanel {
namespace {

using namespace paneltest;

TEST_F(PanelMenuTest, RightClickOnEmptySpaceWithNothingSelectedShowsNoMenu) {
  MenuDriver driver;
  POINT empty{400, 300};
  ClientToScreen(panel.Handle(), &empty);
  RightClick(empty);
  driver.Join();
  EXPECT_FALSE(driver.shown);
  EXPECT_EQ(panel.SelCount(), 0);
}

TEST_F(PanelMenuTest, TheSelectionGetsTheShellsMenuWithItsFirstEntryDefault) {
  ASSERT_EQ(panel.Items().Count(), 3);
  panel.SelectItem(0, {}, false);
  panel.SelectItem(1, TShiftState{ssCtrl}, false);
  MenuDriver driver({}, std::string("Z:") + MIRABELO_BUILD_DIR + "/screenshot-panel-menu.jpg");
  RightClick(CellCentre(panel, 1));
  driver.Join();
  ASSERT_TRUE(driver.shown);
  ASSERT_FALSE(driver.entries.empty());
  EXPECT_EQ(driver.defaultPosition, 0);
  EXPECT_TRUE(driver.entries[0].state & MFS_DEFAULT);
  // The right press on a selected item keeps the whole selection.
  EXPECT_EQ(panel.SelCount(), 2);
}

TEST_F(PanelMenuTest, OwnerItemsComeFirstWithTheirStatesAndRunTheirClick) {
  TPopupMenu owner;
  owner.Items.resize(3);
  owner.Items[0].Caption = "選ぶ(&E)";
  owner.Items[0].Checked = true;
  owner.Items[0].Hint = "所有者の項目";
  owner.Items[1].Caption = "無効";
  owner.Items[1].Enabled = false;
  owner.Items[2].Caption = "-";
  int clicks = 0;
  owner.Items[0].OnClick = [&](TMenuItem&) { ++clicks; };
  panel.ImgPopupMenu.PopupMenu = &owner;
  panel.ImgPopupMenu.ShellMenuPos = 10;
  std::vector<std::string> hints;
  ui::Application::OnHint = [&](const std::string& h) { hints.push_back(h); };
  panel.SelectItem(2, {}, false);

  MenuDriver driver({Key(VK_DOWN), Key(VK_RETURN)});
  RightClick(CellCentre(panel, 2));
  driver.Join();
  ASSERT_TRUE(driver.shown);
  ASSERT_GT(driver.entries.size(), 4u);
  EXPECT_EQ(driver.entries[0].text, "選ぶ(&E)");
  EXPECT_TRUE(driver.entries[0].state & MFS_CHECKED);
  EXPECT_TRUE(driver.entries[1].state & MFS_GRAYED);
  EXPECT_TRUE(driver.entries[2].type & MFT_SEPARATOR);
  // The shell's items follow the owner's, the first of them default.
  EXPECT_EQ(driver.defaultPosition, 3);
  EXPECT_EQ(clicks, 1);
  ASSERT_FALSE(hints.empty());
  EXPECT_EQ(hints.front(), "所有者の項目");
}

TEST_F(PanelMenuTest, AChosenShellCommandIsInvokedPastTheOwnerItems) {
  TPopupMenu owner;
  owner.Items.resize(2);
  owner.Items[0].Caption = "一";
  owner.Items[1].Caption = "二";
  panel.ImgPopupMenu.PopupMenu = &owner;
  panel.SelectItem(0, {}, false);
  panel.SelectItem(2, TShiftState{ssCtrl}, false);
  if (OpenClipboard(form.Handle())) {
    EmptyClipboard();
    CloseClipboard();
  }
  MenuDriver driver({Char('c')});  // コピー(&C)
  RightClick(CellCentre(panel, 2));
  driver.Join();
  ASSERT_TRUE(driver.shown);
  std::vector<std::string> copied;
  if (OpenClipboard(form.Handle())) {
    if (HANDLE drop = GetClipboardData(CF_HDROP))
      copied = fsservices::DroppedFilePaths(static_cast<HDROP>(drop)).Files;
    CloseClipboard();
  }
  EXPECT_EQ(copied, (std::vector<std::string>{panel.GetParsingName(panel.Items()[0]),
                                              panel.GetParsingName(panel.Items()[2])}));
}

// Our side of the shell menu, with a stand-in folder whose menu answers as IContextMenu3.
TEST_F(PanelMenuTest, TheShellMenuIsAskedPlacedForwardedAndInvokedByOffset) {
  FakeFolder folder;
  folder.menu.menu3 = true;
  LPCITEMIDLIST id = reinterpret_cast<LPCITEMIDLIST>("\x04\x00\x01\x00\x00");
  TPopupMenu owner;
  owner.Items.resize(2);
  owner.Items[0].Caption = "一";
  owner.Items[1].Caption = "二";
  owner.Images = std::make_shared<TMenuImages>();  // the owner's items drawn by the panel
  TImgPanelPopupMenu& menu = panel.ImgPopupMenu;
  menu.PopupMenu = &owner;
  menu.ShellMenuPos = 1;
  std::vector<std::string> hints;
  ui::Application::OnHint = [&](const std::string& h) { hints.push_back(h); };
  POINT at = CellCentre(panel, 0);

  // In a read-only panel the menu is asked for renaming too. The shell's items go in at
  // position 1, after the owner's first item; three Downs reach the second of them. Q is
  // nobody's accelerator.
  MenuDriver driver({Char('q'), Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)});
  EXPECT_TRUE(menu.Popup(&folder, {id}, panel.Handle(), true, at));
  driver.Join();
  ASSERT_EQ(folder.menu.queries.size(), 1u);
  const FakeContextMenu::Query q = folder.menu.queries[0];
  EXPECT_EQ(q.index, 1u);
  EXPECT_EQ(q.first, 3u);
  EXPECT_EQ(q.last, 0x7FFFu);
  EXPECT_EQ(q.flags, UINT(CMF_EXPLORE | CMF_CANRENAME));
  ASSERT_GE(driver.entries.size(), 4u);
  EXPECT_EQ(driver.entries[1].text, "fake(&F)");
  EXPECT_EQ(driver.defaultPosition, 1);
  EXPECT_EQ(folder.menu.offsets, std::vector<UINT_PTR>{1});
  EXPECT_EQ(folder.menu.owner, panel.Handle());
  // The menu's own window passed the popup's messages on to the shell menu: its own drawn
  // item and nothing of the owner's to measure and draw, and the character no owner item has.
  const std::vector<UINT>& passed = folder.menu.menuMessages;
  for (UINT msg : {WM_INITMENUPOPUP, WM_MENUCHAR})
    EXPECT_NE(std::find(passed.begin(), passed.end(), msg), passed.end()) << msg;
  EXPECT_EQ(folder.menu.measuredItems, std::vector<ULONG_PTR>{FakeContextMenu::kDrawnItem});
  ASSERT_FALSE(folder.menu.drawnItems.empty());
  for (ULONG_PTR item : folder.menu.drawnItems) EXPECT_EQ(item, FakeContextMenu::kDrawnItem);
  EXPECT_NE(std::find(hints.begin(), hints.end(), "help 1"), hints.end());

  // Without Enabled only the owner's items show.
  menu.Enabled = false;
  MenuDriver closed;
  EXPECT_TRUE(menu.Popup(&folder, {id}, panel.Handle(), false, at));
  closed.Join();
  EXPECT_EQ(closed.entries.size(), 2u);
  EXPECT_EQ(folder.menu.queries.size(), 1u);
}

}  // namespace
}  // namespace thumbpanel
