#include "imaging/ImgList.h"

#include <gtest/gtest.h>

namespace {

using base::Bgr;
using base::Bitmap;
using imaging::TImgList;

const Bgr kWhite{255, 255, 255};
const Bgr kRed{0, 0, 255};

TEST(TImgList, SheetsGrowByRowsAndSplitAtCellsPerSheet) {
  TImgList list;
  const Bitmap cell(32, 32, kRed);
  EXPECT_EQ(list.AddImage(cell.View()), 0);
  ASSERT_EQ(list.Sheets().size(), 1u);
  EXPECT_EQ(list.Sheets()[0].Width(), 1024);
  EXPECT_EQ(list.Sheets()[0].Height(), 32);
  EXPECT_EQ(list.Capacity(), 32);
  for (int i = 1; i < 33; ++i) list.AddImage(cell.View());
  EXPECT_EQ(list.Sheets()[0].Height(), 64);
  EXPECT_EQ(list.Sheets()[0].Pixel(0, 0), kRed);  // a growing sheet keeps its cells
  EXPECT_EQ(list.Sheets()[0].Pixel(40, 40), kWhite);

  for (int i = 33; i < 1024; ++i) list.AddImage(cell.View());
  EXPECT_EQ(list.Sheets().size(), 1u);
  EXPECT_EQ(list.AddImage(Bitmap(32, 32, Bgr{1, 2, 3}).View()), 1024);
  ASSERT_EQ(list.Sheets().size(), 2u);
  EXPECT_EQ(list.Sheets()[0].Height(), 1024);
  EXPECT_EQ(list.Sheets()[1].Height(), 32);
  const TImgList::CellPos pos = list.GetCellPos(1024);
  EXPECT_EQ(pos.sheet, &list.Sheets()[1]);
  EXPECT_EQ(pos.x, 0);
  EXPECT_EQ(pos.y, 0);
  EXPECT_EQ(list.Count(), 1025);
  EXPECT_EQ(list.GetCellPos(1025).sheet, nullptr);
}

TEST(TImgList, CellPositionsWithUnevenSheet) {
  TImgList list;
  list.SetCellWidth(100);
  list.SetCellHeight(90);  // 10 columns (1000 px wide), 11 rows a sheet
  for (int i = 0; i < 14; ++i) list.AddImage(Bitmap(100, 90).View());
  EXPECT_EQ(list.Sheets()[0].Width(), 1000);
  EXPECT_EQ(list.Sheets()[0].Height(), 180);
  const TImgList::CellPos pos = list.GetCellPos(13);
  EXPECT_EQ(pos.x, 300);
  EXPECT_EQ(pos.y, 90);
  EXPECT_EQ(list.Capacity(), 20);
}

TEST(TImgList, SmallerImagesAreCentredWithFloorHalves) {
  TImgList list;
  list.AddImage(Bitmap(32, 20, kRed).View());  // 6 down
  list.AddImage(Bitmap(31, 19, kRed).View());  // 0 right (1 / 2), 6 down (13 / 2)
  Bitmap b;
  list.GetCellBitmap(0, b);
  ASSERT_EQ(b.Width(), 32);
  ASSERT_EQ(b.Height(), 32);
  EXPECT_EQ(b.Pixel(0, 5), kWhite);
  EXPECT_EQ(b.Pixel(0, 6), kRed);
  EXPECT_EQ(b.Pixel(31, 25), kRed);
  EXPECT_EQ(b.Pixel(0, 26), kWhite);
  list.GetCellBitmap(1, b);
  EXPECT_EQ(b.Pixel(0, 6), kRed);
  EXPECT_EQ(b.Pixel(31, 6), kWhite);
  EXPECT_EQ(b.Pixel(30, 24), kRed);
  EXPECT_EQ(b.Pixel(30, 25), kWhite);

  Bitmap big(64, 64, Bgr{9, 9, 9});  // larger than a cell: its top-left part
  big.SetPixel(31, 31, kRed);
  big.SetPixel(32, 32, kRed);
  list.GetCellBitmap(list.AddImage(big.View()), b);
  EXPECT_EQ(b.Pixel(31, 31), kRed);
  EXPECT_EQ(b.Pixel(30, 30), (Bgr{9, 9, 9}));
}

TEST(TImgList, LayoutChangesDropEveryCell) {
  TImgList list;
  list.AddImage(Bitmap(8, 8).View());
  list.SetCellWidth(32);  // same value: kept
  EXPECT_EQ(list.Count(), 1);
  list.SetCellWidth(48);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.Sheets().empty());
  list.AddImage(Bitmap(8, 8).View());
  list.SetSheetHeight(512);
  EXPECT_EQ(list.Count(), 0);

  list.SetCellWidth(2000);  // wider than a sheet: no cell fits
  EXPECT_EQ(list.AddImage(Bitmap(8, 8).View()), -1);
  EXPECT_EQ(list.Count(), 0);
  list.SetCellHeight(0);
  EXPECT_EQ(list.AddImage(Bitmap(8, 8).View()), -1);
}

}  // namespace
