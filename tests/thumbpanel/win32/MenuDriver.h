#pragma once
// Drives a tracked popup menu from a thread of its own while TrackPopupMenu runs its modal
// loop on the test's thread: waits for the menu, reads its entries, then takes its steps
// (keys, characters, or looks at the menu window) one after another.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace thumbpanel::paneltest {

struct MenuEntry {
  std::string text;
  UINT type = 0, state = 0;
};

struct MenuStep {
  UINT message = 0;  // WM_KEYDOWN or WM_CHAR, posted to the menu window
  WPARAM key = 0;
  std::function<void(HWND menuWindow)> look;  // run instead when set
};
inline MenuStep Key(WPARAM vk) { return {WM_KEYDOWN, vk, {}}; }
inline MenuStep Char(char c) { return {WM_CHAR, WPARAM(static_cast<unsigned char>(c)), {}}; }
inline MenuStep Look(std::function<void(HWND)> look) { return {0, 0, std::move(look)}; }

// The shown popup-menu window of this process, if any.
HWND ShownMenuWindow();

class MenuDriver {
 public:
  // Without steps the menu is closed with Escape. shot: a JPEG of the screen around the
  // menu as it first shows. Gives up after 5 s without a menu.
  explicit MenuDriver(std::vector<MenuStep> steps = {}, std::string shot = {});
  ~MenuDriver() { Join(); }
  void Join();

  bool shown = false;
  std::vector<MenuEntry> entries;
  int defaultPosition = -1;

 private:
  void Run();
  std::vector<MenuStep> steps_;
  std::string shot_;
  std::thread thread_;
};

// The screen rectangle of entry position of the shown menu.
RECT MenuItemScreenRect(HWND menuWindow, int position);

}  // namespace thumbpanel::paneltest
