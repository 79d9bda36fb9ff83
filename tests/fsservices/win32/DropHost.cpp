#include "DropHost.h"

#include <shellapi.h>

#include <cstdio>
#include <fstream>

#include "ui/Application.h"

namespace fsservices::test {

DropHost::DropHost() {
  ui::Application::Initialize();
  CreateForm("ドロップ試験", WS_OVERLAPPEDWINDOW, 0, 480, 360);
  SetBounds(100, 100, 480, 360);
  list_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 20, 20, 300, 200,
                          Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  Show();
  SetForegroundWindow(Handle());
  PumpFor(100);
}

DropHost::~DropHost() {
  if (list_ && IsWindow(list_)) DestroyWindow(list_);
}

std::vector<std::string> MakeFiles(const std::string& folder, int count) {
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "\\f%04d.txt", i);
    paths.push_back(folder + name);
    std::ofstream(paths.back()) << i;
  }
  return paths;
}

std::vector<std::string> DroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < n; ++i) {
    char path[MAX_PATH] = {};
    DragQueryFileA(drop, i, path, MAX_PATH);
    paths.push_back(path);
  }
  return paths;
}

std::vector<std::string> ClipboardPaths(HWND owner) {
  std::vector<std::string> paths;
  if (!OpenClipboard(owner)) return paths;
  if (HANDLE h = GetClipboardData(CF_HDROP)) paths = DroppedPaths(static_cast<HDROP>(h));
  CloseClipboard();
  return paths;
}

}  // namespace fsservices::test
