#include "MenuDriver.h"

#include <algorithm>

#include "PanelHost.h"

#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

namespace thumbpanel::paneltest {

HWND ShownMenuWindow() {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
       w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

MenuDriver::MenuDriver(std::vector<MenuStep> steps, std::string shot)
    : steps_(std::move(steps)), shot_(std::move(shot)), thread_([this] { Run(); }) {}

void MenuDriver::Join() {
  if (thread_.joinable()) thread_.join();
}

void MenuDriver::Run() {
  HWND window = nullptr;
  for (int i = 0; i < 100 && !window; ++i) {
    Sleep(50);
    window = ShownMenuWindow();
  }
  if (!window) return;
  shown = true;
  Sleep(300);
  const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    char text[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
    entries.push_back({text, info.fType, info.fState});
  }
  defaultPosition = int(GetMenuDefaultItem(menu, TRUE, 0));
  if (!shot_.empty()) {
    RECT r{};
    GetWindowRect(window, &r);
    const RECT area{0, 0, std::max(r.right + 20, 640L), std::max(r.bottom + 20, 480L)};
    SaveScreenJpeg(area, shot_);
  }
  if (steps_.empty()) steps_.push_back(Key(VK_ESCAPE));
  for (const MenuStep& step : steps_) {
    if (step.look) {
      step.look(window);
      continue;
    }
    PostMessageA(window, step.message, step.key, 0);
    Sleep(150);
  }
}

RECT MenuItemScreenRect(HWND menuWindow, int position) {
  RECT r{};
  const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
  GetMenuItemRect(nullptr, menu, UINT(position), &r);
  return r;
}

}  // namespace thumbpanel::paneltest
