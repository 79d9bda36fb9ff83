#pragma once
// Many small images of one size kept as cells of a few large sheets, so the thumbnail
// panel draws a thumbnail with one block copy from its sheet.
#include <vector>

#include "base/Bitmap.h"

namespace imaging {

class TImgList {
 public:
  struct CellPos {
    const base::Bitmap* sheet = nullptr;  // owned by the list; null for an unused index
    int x = 0;
    int y = 0;
  };

  TImgList();

  int CellWidth() const { return cellWidth_; }
  int CellHeight() const { return cellHeight_; }
  int SheetWidth() const { return sheetWidth_; }
  int SheetHeight() const { return sheetHeight_; }
  // A new value drops every cell.
  void SetCellWidth(int value);
  void SetCellHeight(int value);
  void SetSheetWidth(int value);
  void SetSheetHeight(int value);

  // Colour of the parts of new sheets no image covers.
  base::Bgr BkColor() const { return bkColor_; }
  void SetBkColor(base::Bgr value) { bkColor_ = value; }

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  const std::vector<base::Bitmap>& Sheets() const { return sheets_; }

  // Stores bitmap (at most a cell's size; a larger one is cropped to its shrink-only fit)
  // centred in a new cell and returns the cell's index, or -1 when no cell fits a sheet.
  int AddImage(const base::BitmapView& bitmap);

  // The sheet holding cell index and the cell's top-left corner on it.
  CellPos GetCellPos(int index) const;

  // bitmap becomes CellWidth x CellHeight holding the whole cell (the background colour
  // for an unused index).
  void GetCellBitmap(int index, base::Bitmap& bitmap) const;

  // Drops every cell and sheet.
  void Clear();

 private:
  void SetLayout(int& field, int value);
  void SetCapacity(int n);
  void SetSheetHeightKeeping(base::Bitmap& sheet, int height) const;
  // Sheet number and position of a cell inside the capacity.
  std::size_t Locate(int index, int& x, int& y) const;

  int cellWidth_ = 32, cellHeight_ = 32;
  int sheetWidth_ = 1024, sheetHeight_ = 1024;
  base::Bgr bkColor_{255, 255, 255};
  std::vector<base::Bitmap> sheets_;
  int capacity_ = 0;
  int count_ = 0;
  // Derived from the four sizes; all 0 when a cell side is 0.
  int columns_ = 0, rows_ = 0, cellsPerSheet_ = 0, sheetPixelWidth_ = 0, sheetPixelHeight_ = 0;
};

}  // namespace imaging
