#include "imaging/ImgList.h"

#include <algorithm>

#include "imaging/Resize.h"

namespace imaging {
namespace {

int CeilDiv(int a, int b) { return (a + b - 1) / b; }
int FloorHalf(int v) { return v >= 0 ? v / 2 : -((1 - v) / 2); }

}  // namespace

TImgList::TImgList() { SetLayout(cellWidth_, cellWidth_); }

void TImgList::SetCellWidth(int value) { SetLayout(cellWidth_, value); }
void TImgList::SetCellHeight(int value) { SetLayout(cellHeight_, value); }
void TImgList::SetSheetWidth(int value) { SetLayout(sheetWidth_, value); }
// Not only the three above: the cell-to-sheet mapping depends on the sheet height as well.
void TImgList::SetSheetHeight(int value) { SetLayout(sheetHeight_, value); }

void TImgList::SetLayout(int& field, int value) {
  value = std::max(value, 0);
  if (field != value) {
    field = value;
    Clear();
  }
  if (cellWidth_ == 0 || cellHeight_ == 0) {
    columns_ = rows_ = cellsPerSheet_ = sheetPixelWidth_ = sheetPixelHeight_ = 0;
    return;
  }
  columns_ = sheetWidth_ / cellWidth_;
  rows_ = sheetHeight_ / cellHeight_;
  cellsPerSheet_ = columns_ * rows_;
  sheetPixelWidth_ = std::max(columns_ * cellWidth_, cellWidth_);
  sheetPixelHeight_ = std::max(rows_ * cellHeight_, cellHeight_);
}

void TImgList::Clear() {
  count_ = 0;
  capacity_ = 0;
  sheets_.clear();
}

void TImgList::SetSheetHeightKeeping(base::Bitmap& sheet, int height) const {
  if (sheet.Height() == height) return;
  base::Bitmap grown(sheet.Width(), height, bkColor_);
  base::CopyRect(sheet.View(), grown.View(), 0, 0);
  sheet = std::move(grown);
}

void TImgList::SetCapacity(int n) {
  if (n == capacity_ || cellsPerSheet_ == 0) return;
  const int rowsBefore = CeilDiv(capacity_, columns_);
  capacity_ = n;
  count_ = std::min(count_, n);
  const std::size_t sheetsNeeded = std::size_t(CeilDiv(n, cellsPerSheet_));
  if (sheets_.size() > sheetsNeeded) sheets_.resize(sheetsNeeded);
  while (sheets_.size() < sheetsNeeded)
    sheets_.emplace_back(sheetPixelWidth_, sheetPixelHeight_, bkColor_);
  // Every sheet but the last is whole (one that got a successor grows to full height); the
  // last one gets its height below, once.
  for (std::size_t i = 0; i + 1 < sheets_.size(); ++i)
    SetSheetHeightKeeping(sheets_[i], sheetPixelHeight_);
  const int rowsNeeded = CeilDiv(n, columns_);
  if (!sheets_.empty() && rowsNeeded != rowsBefore) {
    SetSheetHeightKeeping(sheets_.back(), ((n - 1) % cellsPerSheet_ / columns_ + 1) * cellHeight_);
    capacity_ = rowsNeeded * columns_;
  }
}

int TImgList::AddImage(const base::BitmapView& bitmap) {
  if (cellsPerSheet_ == 0) return -1;
  const int index = count_++;
  if (capacity_ < count_) SetCapacity(count_);
  const FitSize fit = CalcFitSize(bitmap.width, bitmap.height, cellWidth_, cellHeight_);
  int x, y;
  base::Bitmap& sheet = sheets_[Locate(index, x, y)];
  base::BitmapView part = bitmap;
  part.width = std::min(fit.width, bitmap.width);
  part.height = std::min(fit.height, bitmap.height);
  if (!part.Empty())
    base::CopyRect(part, sheet.View(), x + FloorHalf(cellWidth_ - fit.width),
                   y + FloorHalf(cellHeight_ - fit.height));
  return index;
}

TImgList::CellPos TImgList::GetCellPos(int index) const {
  if (index < 0 || index >= count_ || cellsPerSheet_ == 0) return {};
  CellPos pos;
  pos.sheet = &sheets_[Locate(index, pos.x, pos.y)];
  return pos;
}

std::size_t TImgList::Locate(int index, int& x, int& y) const {
  const int r = index % cellsPerSheet_;
  x = r % columns_ * cellWidth_;
  y = r / columns_ * cellHeight_;
  return std::size_t(index / cellsPerSheet_);
}

void TImgList::GetCellBitmap(int index, base::Bitmap& bitmap) const {
  bitmap = base::Bitmap(cellWidth_, cellHeight_, bkColor_);
  const CellPos pos = GetCellPos(index);
  if (pos.sheet) base::CopyRect(pos.sheet->View(), bitmap.View(), -pos.x, -pos.y);
}

}  // namespace imaging
