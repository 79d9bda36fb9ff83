#include <gtest/gtest.h>

#include "thumbpanel/OwnerItemLook.h"
#include "thumbpanel/OwnerMenu.h"

using namespace thumbpanel;

namespace {

TEST(OwnerMenu, VisibleItemsAreNumberedDepthFirst) {
  TPopupMenu menu;
  menu.Items.resize(4);
  menu.Items[0].Caption = "A";
  menu.Items[1].Caption = "hidden";
  menu.Items[1].Visible = false;
  menu.Items[1].Items.resize(1);
  menu.Items[2].Caption = "B";
  menu.Items[2].Items.resize(2);
  menu.Items[3].Caption = "C";
  const std::vector<TMenuItem*> numbered = NumberOwnerItems(menu);
  ASSERT_EQ(numbered.size(), 5u);
  EXPECT_EQ(numbered[0], &menu.Items[0]);
  EXPECT_EQ(numbered[1], &menu.Items[2]);
  EXPECT_EQ(numbered[2], &menu.Items[2].Items[0]);
  EXPECT_EQ(numbered[4], &menu.Items[3]);

  TMenuItem item;
  item.Caption = "コピー(&C)";
  item.ShortCutText = "Ctrl+C";
  EXPECT_EQ(MenuItemText(item), "コピー(&C)\tCtrl+C");
  item.Items.resize(1);
  EXPECT_EQ(MenuItemText(item), "コピー(&C)");
}

TEST(OwnerMenu, DrawnByThePanelWhenTheMenuHasImagesOrTheItemABitmap) {
  TPopupMenu menu;
  TMenuItem plain, pictured, separator;
  separator.Caption = "-";
  pictured.Bitmap = std::make_shared<base::Bitmap>(4, 3);
  EXPECT_FALSE(IsOwnerDrawn(menu, plain));
  EXPECT_TRUE(IsOwnerDrawn(menu, pictured));
  separator.Bitmap = pictured.Bitmap;
  EXPECT_FALSE(IsOwnerDrawn(menu, separator));
  plain.Bitmap = std::make_shared<base::Bitmap>();  // an empty bitmap is no picture
  EXPECT_FALSE(IsOwnerDrawn(menu, plain));

  // With images every item is drawn by the panel, with or without one of them.
  menu.Images = std::make_shared<TMenuImages>();
  EXPECT_TRUE(IsOwnerDrawn(menu, plain));
  EXPECT_FALSE(IsOwnerDrawn(menu, separator));
}

TEST(OwnerMenu, TheGlyphIsTheItemsBitmapElseItsCellOfTheImages) {
  auto strip = std::make_shared<TMenuImages>();
  strip->Strip = base::Bitmap(48, 16, {255, 0, 255});
  strip->Width = 16;
  TPopupMenu menu;
  menu.Images = strip;
  TMenuItem item;
  item.ImageIndex = 2;
  TMenuGlyph glyph = ItemGlyph(menu, item);
  EXPECT_EQ(glyph.Left, 32);
  EXPECT_EQ(glyph.Width, 16);
  EXPECT_EQ(glyph.Transparent, (base::Bgr{255, 0, 255}));
  for (int index : {-1, 3}) {
    item.ImageIndex = index;
    EXPECT_TRUE(ItemGlyph(menu, item).Empty()) << index;
  }
  strip->Width = 0;  // a strip without cells
  item.ImageIndex = 0;
  EXPECT_TRUE(ItemGlyph(menu, item).Empty());

  auto bitmap = std::make_shared<base::Bitmap>(5, 4, base::Bgr{1, 2, 3});
  bitmap->SetPixel(0, 3, {9, 9, 9});
  item.Bitmap = bitmap;
  glyph = ItemGlyph(menu, item);
  EXPECT_EQ(glyph.Width, 5);
  EXPECT_EQ(glyph.Height, 4);
  EXPECT_EQ(glyph.Transparent, (base::Bgr{9, 9, 9}));  // the bottom-left pixel
}

TEST(OwnerMenu, AcceleratorsAreTheLetterAfterASingleAmpersand) {
  EXPECT_EQ(MenuAccelerator("選ぶ(&E)"), 'E');
  EXPECT_EQ(MenuAccelerator("&open"), 'o');
  EXPECT_EQ(MenuAccelerator("A&&B"), 0);
  EXPECT_EQ(MenuAccelerator("A&&&B"), 'B');
  EXPECT_EQ(MenuAccelerator("end&"), 0);
  EXPECT_EQ(MenuAccelerator("&選ぶ"), 0);
  EXPECT_EQ(MenuAccelerator(""), 0);
}

TEST(OwnerMenu, ATypedCharacterRunsTheOneItemOrStepsThroughSeveral) {
  using M = TMenuCharMatch;
  std::vector<TMenuCharEntry> entries = {
      {"選ぶ(&E)"}, {""}, {"編集(&e)"}, {"無効(&D)", false}, {"表示(&V)"}};
  EXPECT_EQ(MatchMenuChar(entries, 'v', -1), (M{M::Execute, 4}));
  EXPECT_EQ(MatchMenuChar(entries, 'D', -1), M{});  // a disabled item does not count
  EXPECT_EQ(MatchMenuChar(entries, 'x', 0), M{});
  EXPECT_EQ(MatchMenuChar(entries, 0, 0), M{});
  // Two items share E: each press selects the next, round the end.
  EXPECT_EQ(MatchMenuChar(entries, 'e', -1), (M{M::Select, 0}));
  EXPECT_EQ(MatchMenuChar(entries, 'E', 0), (M{M::Select, 2}));
  EXPECT_EQ(MatchMenuChar(entries, 'e', 2), (M{M::Select, 0}));
}

TEST(OwnerItemLook, SizeFollowsTheTallestPartAndThePartsStayInTheItem) {
  TMenuItemSizes sizes;
  sizes.CheckWidth = sizes.CheckHeight = 13;
  sizes.TextHeight = 16;
  sizes.CaptionWidth = 60;
  const TMenuItemSize plain = OwnerItemSize(sizes);
  EXPECT_EQ(plain.Height, 20);
  sizes.GlyphWidth = sizes.GlyphHeight = 32;
  EXPECT_EQ(OwnerItemSize(sizes).Height, 36);
  EXPECT_GT(OwnerItemSize(sizes).Width, plain.Width);
  sizes.ShortCutWidth = 40;
  const TMenuItemSize asked = OwnerItemSize(sizes);
  const TOwnerItemParts parts = OwnerItemParts({0, 0, asked.Width, asked.Height}, sizes);
  EXPECT_GE(parts.Caption.Left, parts.Glyph.Right);
  EXPECT_GE(parts.ShortCut.Left - parts.Caption.Left, sizes.CaptionWidth);
  EXPECT_EQ(parts.ShortCut.Width(), sizes.ShortCutWidth);
  // A column narrower than asked never turns a part inside out.
  const TOwnerItemParts narrow = OwnerItemParts({10, 0, 20, asked.Height}, sizes);
  for (const TRect& r : {narrow.Glyph, narrow.Caption, narrow.ShortCut}) EXPECT_GE(r.Right, r.Left);
}

TEST(OwnerItemLook, GlyphsKeepTheBackgroundWhereTransparentAndEmbossWhenDisabled) {
  const base::Bgr magenta{255, 0, 255}, red{0, 0, 200}, white{255, 255, 255};
  base::Bitmap strip(2, 2, magenta);
  strip.SetPixel(0, 0, red);
  strip.SetPixel(1, 0, white);
  const TMenuGlyph glyph{strip.View(), 0, 2, 2, magenta};
  const base::Bgr back{10, 20, 30}, light{250, 250, 250}, shadow{128, 128, 128};

  base::Bitmap dst(4, 4, back);
  PaintMenuGlyph(dst.View(), 1, 1, glyph, false, light, shadow);
  EXPECT_EQ(dst.Pixel(1, 1), red);
  EXPECT_EQ(dst.Pixel(2, 1), white);
  EXPECT_EQ(dst.Pixel(1, 2), back);

  // Disabled: only the dark pixel shows, in shadow, with its light copy below right.
  dst.Fill(back);
  PaintMenuGlyph(dst.View(), 1, 1, glyph, true, light, shadow);
  EXPECT_EQ(dst.Pixel(1, 1), shadow);
  EXPECT_EQ(dst.Pixel(2, 2), light);
  EXPECT_EQ(dst.Pixel(2, 1), back);

  // Partly or wholly outside the target: clipped, nothing written out of bounds.
  for (const auto& [x, y] : {std::pair{-1, -1}, std::pair{3, 3}, std::pair{-5, 9}}) {
    dst.Fill(back);
    PaintMenuGlyph(dst.View(), x, y, glyph, true, light, shadow);
  }
  EXPECT_EQ(dst.Pixel(0, 0), back);
}

}  // namespace
