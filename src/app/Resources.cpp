#include "app/Resources.h"

HBITMAP LoadToolbarImages(ToolbarStrip strip) {
  return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                         MAKEINTRESOURCEA(static_cast<int>(strip)), IMAGE_BITMAP, 0,
                                         0, LR_CREATEDIBSECTION));
}

HICON LoadAppIcon(int size) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MIRABELO),
                                       IMAGE_ICON, size, size, LR_SHARED));
}

std::vector<ui::ToolButton> MakeToolButtons(std::span<const ToolButtonSpec> specs) {
  std::vector<ui::ToolButton> buttons;
  int image = 0;
  for (const ToolButtonSpec& s : specs) {
    ui::ToolButton b;
    b.id = s.id;
    b.style = s.style;
    b.hint = s.hint;
    b.reactsOnPress = s.reactsOnPress;
    if (s.style != ui::ButtonStyle::Separator) b.image = image++;
    buttons.push_back(std::move(b));
  }
  return buttons;
}
