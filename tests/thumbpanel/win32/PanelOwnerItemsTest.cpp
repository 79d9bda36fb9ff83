// The owner items of the panel's context menu that the panel draws itself, on a real folder
// with Wine's shell items beside them: how they look, their hint, their help request and
// their accelerators.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "MenuDriver.h"
#include "PanelMenuFixture.h"

namespace thumbpanel {
namespace {

using namespace paneltest;

const base::Bgr kRed{0, 0, 200}, kGreen{0, 160, 0};

// Two 16 x 16 cells, a red and a green square each inside a transparent margin.
std::shared_ptr<TMenuImages> Squares() {
  auto images = std::make_shared<TMenuImages>();
  images->Strip = base::Bitmap(32, 16, {255, 0, 255});
  for (int y = 2; y < 14; ++y)
    for (int x = 2; x < 14; ++x) {
      images->Strip.SetPixel(x, y, kRed);
      images->Strip.SetPixel(16 + x, y, kGreen);
    }
  return images;
}

base::Bgr Sys(int index) { return base::BgrFromColorRef(GetSysColor(index)); }

// Pixels of colour c in the columns [from, to) of a picture.
int Count(const base::Bitmap& b, base::Bgr c, int from = 0, int to = 1 << 20) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = std::max(from, 0); x < std::min(to, b.Width()); ++x) n += b.Pixel(x, y) == c;
  return n;
}

struct PanelOwnerItemsTest : PanelMenuTest {
  PanelOwnerItemsTest() {
    owner.Images = Squares();
    owner.Items.resize(6);
    TMenuItem* items = owner.Items.data();
    items[0].Caption = "赤(&R)";
    items[0].ImageIndex = 0;
    items[0].ShortCutText = "Ctrl+R";
    items[0].Hint = "赤い項目";
    items[0].HelpContext = 81;
    items[1].Caption = "緑(&G)";
    items[1].ImageIndex = 1;
    items[1].Checked = true;
    items[2].Caption = "無効(&Z)";
    items[2].ImageIndex = 0;
    items[2].Enabled = false;
    items[3].Caption = "-";
    items[4].Caption = "印だけ(&M)";
    items[4].Checked = true;
    items[5].Caption = "その他(&S)";
    items[5].Hint = "下の項目";
    items[5].Items.resize(1);
    items[5].Items[0].Caption = "子(&C)";
    items[5].Items[0].ImageIndex = 1;
    for (TMenuItem* item : {&items[0], &items[1], &items[5].Items[0]})
      item->OnClick = [this](TMenuItem& sender) { clicked.push_back(sender.Caption); };
    panel.ImgPopupMenu.PopupMenu = &owner;
    panel.ImgPopupMenu.ShellMenuPos = 10;  // the owner's items first
    ui::Application::OnHint = [this](const std::string& h) { hints.push_back(h); };
    panel.SelectItem(0, {}, false);
  }
  TPopupMenu owner;
  std::vector<std::string> clicked, hints;
};

TEST_F(PanelOwnerItemsTest, PicturesCaptionsAndStatesAreDrawnAsAMenuShowsThem) {
  std::vector<base::Bitmap> rows;
  base::Bitmap highlighted;
  const std::string shot =
      std::string("Z:") + MIRABELO_BUILD_DIR + "/screenshot-panel-menu-owner.jpg";
  MenuDriver driver({Look([&](HWND menu) {
                       for (int i = 0; i < 6; ++i)
                         rows.push_back(ScreenPixels(MenuItemScreenRect(menu, i)));
                     }),
                     Key(VK_DOWN), Look([&](HWND menu) {
                       highlighted = ScreenPixels(MenuItemScreenRect(menu, 0));
                       RECT r{};
                       GetWindowRect(menu, &r);
                       SaveScreenJpeg({r.left - 10, r.top - 10, r.right + 10, r.bottom + 10}, shot);
                     }),
                     Key(VK_ESCAPE)});
  RightClick(CellCentre(panel, 0));
  driver.Join();
  ASSERT_TRUE(driver.shown);
  ASSERT_GT(driver.entries.size(), 6u);
  for (int i : {0, 1, 2, 4, 5}) EXPECT_TRUE(driver.entries[i].type & MFT_OWNERDRAW) << i;
  EXPECT_EQ(driver.entries[3].type & (MFT_SEPARATOR | MFT_OWNERDRAW), UINT(MFT_SEPARATOR));
  // The shell's own items stay the system's to draw.
  EXPECT_FALSE(driver.entries[6].type & MFT_OWNERDRAW);
  EXPECT_FALSE(driver.entries[6].text.empty());
  ASSERT_EQ(rows.size(), 6u);

  const int column = 24;  // the picture column and a little more
  for (int i : {0, 1, 2}) EXPECT_GE(rows[i].Height(), 16 + 4) << i;
  // The pictures, whole, in the picture column; the captions in the menu's text colour.
  EXPECT_EQ(Count(rows[0], kRed, 0, column), 12 * 12);
  EXPECT_EQ(Count(rows[1], kGreen, 0, column), 12 * 12);
  for (int i : {0, 1, 4}) EXPECT_GT(Count(rows[i], Sys(COLOR_MENUTEXT), column), 20) << i;
  // Disabled: no colour left, the picture and caption embossed in grey.
  EXPECT_EQ(Count(rows[2], kRed), 0);
  EXPECT_GT(Count(rows[2], Sys(COLOR_3DSHADOW), 0, column), 12 * 6);
  EXPECT_GT(Count(rows[2], Sys(COLOR_3DSHADOW), column), 20);
  EXPECT_EQ(Count(rows[2], Sys(COLOR_MENUTEXT), column), 0);
  // A checked item without a picture shows a check mark.
  EXPECT_GT(Count(rows[4], Sys(COLOR_MENUTEXT), 0, column), 5);

  // Highlighted: the row in the highlight colour, its picture kept.
  const int width = highlighted.Width();
  EXPECT_GT(Count(highlighted, Sys(COLOR_HIGHLIGHT), column), (width - column) * 12);
  EXPECT_GT(Count(highlighted, Sys(COLOR_HIGHLIGHTTEXT), column), 20);
  EXPECT_EQ(Count(highlighted, kRed, 0, column), 12 * 12);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(PanelOwnerItemsTest, HintHelpAndAcceleratorsOfTheOwnerItems) {
  // The letters are none of the shell's, whose own items the system matches first. The
  // Escapes close what is left open should a key fail.
  MenuDriver driver(
      {Key(VK_DOWN), Key(VK_F1), Char('z'), Char('s'), Char('c'), Key(VK_ESCAPE), Key(VK_ESCAPE)});
  const DWORD gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  RightClick(CellCentre(panel, 0));
  driver.Join();
  ASSERT_TRUE(driver.shown);
  // Drawing the items left no font, bitmap or brush behind.
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiObjects);
  // The highlighted item's hint reached the application hint, the sub-menu's too; it was
  // cleared when the menu closed.
  EXPECT_NE(std::find(hints.begin(), hints.end(), "赤い項目"), hints.end());
  EXPECT_NE(std::find(hints.begin(), hints.end(), "下の項目"), hints.end());
  ASSERT_FALSE(hints.empty());
  EXPECT_EQ(hints.back(), "");
  EXPECT_EQ(ui::Application::Hint(), "");
  // The help key asked the panel's parents for the item's help context.
  ASSERT_EQ(form.Helps.size(), 1u);
  EXPECT_EQ(form.Helps[0].iContextType, HELPINFO_MENUITEM);
  EXPECT_EQ(form.Helps[0].dwContextId, 81u);
  EXPECT_EQ(form.Helps[0].iCtrlId, 1);
  // Z belongs to a disabled item and did nothing; S opened the sub-menu and C ran its item.
  EXPECT_EQ(clicked, std::vector<std::string>{"子(&C)"});
}

}  // namespace
}  // namespace thumbpanel
