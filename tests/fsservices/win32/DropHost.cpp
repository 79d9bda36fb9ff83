#include "DropHost.h"

#include <shellapi.h>

#include <cstdio>
#include <fstream>

#include "FileDropRecorder.h"
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

std::vector<std::string> ClipboardPaths(HWND owner) {
  std::vector<std::string> paths;
  if (!OpenClipboard(owner)) return paths;
  if (HANDLE h = GetClipboardData(CF_HDROP)) paths = ::test::DroppedPaths(static_cast<HDROP>(h));
  CloseClipboard();
  return paths;
}

}  // namespace fsservices::test
