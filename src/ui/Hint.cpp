#include "ui/Hint.h"

#include <commctrl.h>

namespace ui {

void SetHint(HWND control, const std::string& text) {
  HWND root = GetAncestor(control, GA_ROOT);
  static HWND tip = nullptr;  // one tooltip window serves every hinted control
  if (!tip || !IsWindow(tip))
    tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                          0, 0, root, nullptr, GetModuleHandleA(nullptr), nullptr);
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = root;
  info.uId = UINT_PTR(control);
  info.lpszText = const_cast<char*>(text.c_str());
  SendMessageA(tip, TTM_DELTOOLA, 0, LPARAM(&info));  // a control has one hint
  SendMessageA(tip, TTM_ADDTOOLA, 0, LPARAM(&info));
}

}  // namespace ui
