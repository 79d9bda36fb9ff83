#include "FileOpsTestKit.h"

#include <shellapi.h>

#include "base/FileIo.h"

namespace test {

std::string Read(const std::string& path) {
  std::string data;
  return base::ReadWholeFile(path, data) ? data : "<missing>";
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int ListItemOfFile(const shellview::TFileView& list, const std::string& name) {
  for (int i = 0; i < list.Count(); ++i) {
    const std::string path = list.ItemPath(i);
    if (path.size() > name.size() && path[path.size() - name.size() - 1] == '\\' &&
        path.compare(path.size() - name.size(), name.size(), name) == 0)
      return i;
  }
  return -1;
}

void SetAge(const std::string& path, int days) {
  HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
  t.QuadPart += static_cast<long long>(days) * 24 * 3600 * 10000000LL;
  const FILETIME when{t.LowPart, t.HighPart};
  SetFileTime(f, nullptr, nullptr, &when);
  CloseHandle(f);
}

OtherDriveDir::OtherDriveDir(const std::string& name) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + name;
  Remove();
  CreateDirectoryA(path_.c_str(), nullptr);
}

OtherDriveDir::~OtherDriveDir() { Remove(); }

void OtherDriveDir::Remove() {
  const std::string from = path_ + std::string(2, '\0');
  SHFILEOPSTRUCTA op{nullptr, FO_DELETE, from.c_str(), nullptr,
                     FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI};
  SHFileOperationA(&op);
}

namespace {
struct WindowSearch {
  const char* cls;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND w, LPARAM p) {
  auto* search = reinterpret_cast<WindowSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(w) || std::string(cls) != search->cls)
    return TRUE;
  search->found = w;
  return FALSE;
}
}  // namespace

HWND FindShownWindow(const char* cls) {
  WindowSearch search{cls, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

MenuPicker::MenuPicker(char key) : key_(key) {
  thread_.reset(CreateThread(
      nullptr, 0,
      [](void* self) -> DWORD WINAPI {
        static_cast<MenuPicker*>(self)->Run();
        return 0;
      },
      this, 0, nullptr));
}

MenuPicker::~MenuPicker() {
  stop_ = true;
  WaitForSingleObject(thread_.get(), INFINITE);
}

void MenuPicker::Run() {
  while (!stop_) {
    if (const HWND menu = FindShownWindow("#32768")) {
      Sleep(100);
      if (key_)
        PostMessageA(menu, WM_CHAR, key_, 0);
      else
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      picked_ = true;
      return;
    }
    Sleep(30);
  }
}

}  // namespace test
