#include "e2e/Remote.h"

namespace e2e {

std::string WindowText(HWND window) {
  char text[MAX_PATH] = "";
  GetWindowTextA(window, text, MAX_PATH);
  return text;
}

// A buffer inside the program's process for messages that carry pointers.
RemoteBuffer::RemoteBuffer(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process_) p_ = VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
  if (p_) VirtualFreeEx(process_, p_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

void RemoteBuffer::Write(std::size_t offset, const void* data, std::size_t size) {
  WriteProcessMemory(process_, at(offset), data, size, nullptr);
}

std::string RemoteBuffer::ReadText(std::size_t offset) {
  char text[kTextSize + 1] = {};
  ReadProcessMemory(process_, at(offset), text, kTextSize, nullptr);
  return text;
}

std::string NodeText(HWND tree, HTREEITEM node, RemoteBuffer& mem) {
  TVITEMA item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = mem.at(RemoteBuffer::kTextAt);
  item.cchTextMax = RemoteBuffer::kTextSize;
  mem.Write(0, &item, sizeof item);
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(mem.at(0)));
  return mem.ReadText(RemoteBuffer::kTextAt);
}

std::string HeaderText(HWND list, int column, RemoteBuffer& mem) {
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT;
  col.pszText = mem.at(RemoteBuffer::kTextAt);
  col.cchTextMax = RemoteBuffer::kTextSize;
  mem.Write(0, &col, sizeof col);
  SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(mem.at(0)));
  return mem.ReadText(RemoteBuffer::kTextAt);
}

std::vector<HTREEITEM> Children(HWND tree, HTREEITEM node) {
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
  std::vector<HTREEITEM> out;
  for (HTREEITEM c = TreeView_GetChild(tree, node); c; c = TreeView_GetNextSibling(tree, c))
    out.push_back(c);
  return out;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void ClickClient(HWND window, POINT client, bool rightButton) {
  ClientToScreen(window, &client);
  SetCursorPos(client.x, client.y);
  Wait(100);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
}

RECT RemoteRect(HWND control, UINT msg, WPARAM wp, RemoteBuffer& mem) {
  RECT r{};
  mem.Write(0, &r, sizeof r);
  SendMessageA(control, msg, wp, reinterpret_cast<LPARAM>(mem.at(0)));
  ReadProcessMemory(mem.Process(), mem.at(0), &r, sizeof r, nullptr);
  return r;
}

void Wait(int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(50);
  }
}

HTREEITEM FindFolderNode(HWND tree, const std::string& path, RemoteBuffer& mem) {
  // A drive sits two levels below the Desktop root.
  const std::string drive = path.substr(0, 2);
  HTREEITEM node = nullptr;
  for (HTREEITEM top : Children(tree, TreeView_GetRoot(tree))) {
    for (HTREEITEM d : Children(tree, top))
      if (NodeText(tree, d, mem).find(drive) != std::string::npos) node = d;
    if (node) break;
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(top));
  }
  if (!node) return nullptr;
  std::string rest = path.substr(3) + "\\";
  for (std::size_t at; (at = rest.find('\\')) != std::string::npos; rest.erase(0, at + 1)) {
    const std::string name = rest.substr(0, at);
    HTREEITEM next = nullptr;
    for (HTREEITEM c : Children(tree, node))
      if (lstrcmpiA(NodeText(tree, c, mem).c_str(), name.c_str()) == 0) next = c;
    if (!next) return nullptr;
    node = next;
  }
  return node;
}

RECT NodeRect(HWND tree, HTREEITEM node, RemoteBuffer& mem) {
  RECT r{};
  *reinterpret_cast<HTREEITEM*>(&r) = node;
  mem.Write(0, &r, sizeof r);
  SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(mem.at(0)));
  ReadProcessMemory(mem.Process(), mem.at(0), &r, sizeof r, nullptr);
  return r;
}

void ClickNode(HWND main, HWND tree, HTREEITEM node, RemoteBuffer& mem) {
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(TreeView_GetParent(tree, node)));
  SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
  Wait(500);
  const RECT r = NodeRect(tree, node, mem);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SetForegroundWindow(main);
  PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(tree, WM_LBUTTONUP, 0, at);
  // Until the click lands the parent is selected and its listing shows.
  for (int i = 0; i < 100 && TreeView_GetSelection(tree) != node; ++i) Wait(50);
}

namespace {

struct WindowSearch {
  DWORD pid;
  const char* cls;
  std::string text;  // a part of the window's or a child's text
  HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  if (WindowText(w).find(s->text) == std::string::npos) return TRUE;
  s->found = w;
  return FALSE;
}

BOOL CALLBACK MatchTop(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (pid != s->pid || !IsWindowVisible(w) || (s->cls && lstrcmpA(cls, s->cls) != 0)) return TRUE;
  if (WindowText(w).find(s->text) != std::string::npos) {
    s->found = w;
    return FALSE;
  }
  EnumChildWindows(w, MatchChild, lp);
  if (s->found) s->found = w;
  return !s->found;
}

}  // namespace

HWND WaitForWindow(HWND main, const char* cls, const std::string& text, int ms) {
  WindowSearch s{0, cls, text};
  GetWindowThreadProcessId(main, &s.pid);
  for (int waited = 0; waited < ms && !s.found; waited += 100) {
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
    if (!s.found) Wait(100);
  }
  return s.found;
}

void PressKey(WORD key) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

}  // namespace e2e
