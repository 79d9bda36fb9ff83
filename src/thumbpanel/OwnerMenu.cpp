#include "thumbpanel/OwnerMenu.h"

#include "base/Sjis.h"

namespace thumbpanel {
namespace {

void Number(std::vector<TMenuItem>& items, std::vector<TMenuItem*>& out) {
  for (TMenuItem& item : items) {
    if (!item.Visible) continue;
    out.push_back(&item);
    Number(item.Items, out);
  }
}

char FoldCase(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

}  // namespace

std::vector<TMenuItem*> NumberOwnerItems(TPopupMenu& menu) {
  std::vector<TMenuItem*> out;
  Number(menu.Items, out);
  return out;
}

std::string_view ShownShortCut(const TMenuItem& item) {
  return item.Items.empty() ? std::string_view(item.ShortCutText) : std::string_view();
}

std::string MenuItemText(const TMenuItem& item) {
  const std::string_view shortCut = ShownShortCut(item);
  if (shortCut.empty()) return item.Caption;
  return item.Caption + "\t" + std::string(shortCut);
}

bool IsSeparator(const TMenuItem& item) { return item.Caption == "-"; }

bool IsOwnerDrawn(const TPopupMenu& menu, const TMenuItem& item) {
  if (IsSeparator(item)) return false;
  return menu.Images || (item.Bitmap && !item.Bitmap->Empty());
}

TMenuGlyph ItemGlyph(const TPopupMenu& menu, const TMenuItem& item) {
  if (item.Bitmap && !item.Bitmap->Empty()) {
    const base::Bitmap& b = *item.Bitmap;
    return {b.View(), 0, b.Width(), b.Height(), b.Pixel(0, b.Height() - 1)};
  }
  if (!menu.Images || item.ImageIndex < 0 || item.ImageIndex >= menu.Images->Count()) return {};
  const TMenuImages& images = *menu.Images;
  return {images.Strip.View(), item.ImageIndex * images.Width, images.Width, images.Strip.Height(),
          base::Bgr{255, 0, 255}};
}

char MenuAccelerator(std::string_view caption) {
  for (std::size_t i = 0; i < caption.size(); i += base::CharLength(caption, i)) {
    if (caption[i] != '&' || i + 1 >= caption.size()) continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" is a plain ampersand
      continue;
    }
    return base::IsLeadByte(static_cast<unsigned char>(caption[i + 1])) ? 0 : caption[i + 1];
  }
  return 0;
}

TMenuCharMatch MatchMenuChar(const std::vector<TMenuCharEntry>& entries, char key,
                             int highlighted) {
  std::vector<int> hits;
  for (int i = 0; i < int(entries.size()); ++i) {
    const char accelerator = MenuAccelerator(entries[i].Caption);
    if (key != 0 && entries[i].Enabled && FoldCase(accelerator) == FoldCase(key)) hits.push_back(i);
  }
  if (hits.empty()) return {};
  if (hits.size() == 1) return {TMenuCharMatch::Execute, hits[0]};
  for (const int hit : hits)
    if (hit > highlighted) return {TMenuCharMatch::Select, hit};
  return {TMenuCharMatch::Select, hits[0]};
}

}  // namespace thumbpanel
