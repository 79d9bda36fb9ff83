#pragma once
// The file list's decisions that need no window: cell texts, column captions, the sort
// state shared by every file list, sort keys and the extension mask.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace shellview {

constexpr int kFileListColumns = 5;
constexpr int kSizeColumn = 1;
constexpr int kSizeKeyWidth = 15;

// Plain caption of a column ("" for the fifth and for out-of-range columns).
std::string ColumnCaption(int column);
// Caption with a leading "*" when the list is sorted by that column.
std::string ColumnCaption(int column, int sortColumn);

// Byte count with digit grouping ("1,234"); 0 gives an empty text.
std::string FormatSizeText(std::uint64_t size);

struct LocalTime {
  int year, month, day, hour, minute;
};
// "yy/mm/dd hh:nn".
std::string FormatTimeText(const LocalTime& t);

// The text a column compares by: sizes are filled on the left with "0" to 15 characters
// (longer texts stay as they are), other columns compare their texts directly.
std::string SortKey(int column, std::string_view text);

// Sort state shared by the program's file lists: a direction per column (+1 ascending,
// -1 descending), the direction and the column used last.
struct SortState {
  std::array<int, kFileListColumns> direction{1, 1, 1, 1, 1};
  int lastDirection = 1;
  int lastColumn = 0;

  // A new list window: columns 0 to 3 and the last direction ascending, column 0 last.
  void Reset();
  // Before a refill: columns 0 to 3 take the last direction used.
  void BeginRefill();
  // A click on a column header: flips its direction and makes it the last one.
  // Returns the direction to sort with.
  int ColumnClick(int column);
  int Direction(int column) const;
};

// Whether an item with this parsing name is listed under the mask (extensions such as
// ".JPG", compared without regard to ASCII case). Folders and an empty mask list all.
bool MaskAccepts(const std::vector<std::string>& mask, std::string_view parsingName, bool isFolder);

}  // namespace shellview
