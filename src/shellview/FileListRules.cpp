#include "shellview/FileListRules.h"

#include <algorithm>
#include <cstdio>

#include "base/Sjis.h"

namespace shellview {

std::string ColumnCaption(int column) {
  static const char* const kCaptions[] = {"名前", "サイズ(バイト)", "ファイルの種類", "更新日時"};
  return column >= 0 && column < 4 ? kCaptions[column] : "";
}

std::string ColumnCaption(int column, int sortColumn) {
  std::string caption = ColumnCaption(column);
  if (column == sortColumn) caption.insert(caption.begin(), '*');
  return caption;
}

std::string FormatSizeText(std::uint64_t size) {
  if (size == 0) return {};
  const std::string digits = std::to_string(size);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string FormatTimeText(const LocalTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d", ((t.year % 100) + 100) % 100, t.month,
                t.day, t.hour, t.minute);
  return buf;
}

std::string SortKey(int column, std::string_view text) {
  std::string key(text);
  if (column == kSizeColumn && key.size() < kSizeKeyWidth)
    key.insert(0, kSizeKeyWidth - key.size(), '0');
  return key;
}

void SortState::Reset() {
  std::fill(direction.begin(), direction.begin() + 4, 1);
  lastDirection = 1;
  lastColumn = 0;
}

void SortState::BeginRefill() {
  std::fill(direction.begin(), direction.begin() + 4, lastDirection);
}

int SortState::ColumnClick(int column) {
  if (column < 0 || column >= kFileListColumns) return lastDirection;
  direction[column] = -direction[column];
  lastDirection = direction[column];
  lastColumn = column;
  return lastDirection;
}

int SortState::Direction(int column) const {
  return column >= 0 && column < kFileListColumns ? direction[column] : 1;
}

bool MaskAccepts(const std::vector<std::string>& mask, std::string_view parsingName,
                 bool isFolder) {
  if (mask.empty() || isFolder) return true;
  const std::string ext = base::AnsiUpperCase(base::ExtractFileExt(parsingName));
  return std::any_of(mask.begin(), mask.end(),
                     [&](const std::string& m) { return base::AnsiUpperCase(m) == ext; });
}

}  // namespace shellview
