// The real program's folder tree driven from outside: navigate to a test folder, check
// that the file list shows it, and save a picture of the window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "TestDir.h"
#include "e2e/AppProcess.h"

namespace {

// A buffer inside the program's process for messages that carry pointers.
class RemoteBuffer {
 public:
  explicit RemoteBuffer(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) p_ = VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (p_) VirtualFreeEx(process_, p_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  HANDLE Process() const { return process_; }
  char* at(std::size_t offset) const { return static_cast<char*>(p_) + offset; }
  void Write(std::size_t offset, const void* data, std::size_t size) {
    WriteProcessMemory(process_, at(offset), data, size, nullptr);
  }
  std::string ReadText(std::size_t offset) {
    char text[kTextSize + 1] = {};
    ReadProcessMemory(process_, at(offset), text, kTextSize, nullptr);
    return text;
  }
  static constexpr std::size_t kSize = 4096, kTextSize = 512, kTextAt = 1024;

 private:
  HANDLE process_ = nullptr;
  void* p_ = nullptr;
};

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

// Saves the window's screen area as a 24-bit BMP.
void SaveWindowPicture(HWND window, const std::string& path) {
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = (w * 3 + 3) & ~3u, size = stride * h;
  BITMAPFILEHEADER fh{0x4D42, DWORD(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                      DWORD(sizeof fh + sizeof bi.bmiHeader)};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  out.write(static_cast<const char*>(bits), size);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

void Wait(int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(50);
  }
}

TEST(ShellViewE2E, TheTreeNavigatesAndTheListShowsTheFolder) {
  test::TempDir dir("e2e-shellview");
  const std::string sample = dir.Path() + "\\サンプル";
  CreateDirectoryA(sample.c_str(), nullptr);
  CreateDirectoryA((sample + "\\写真").c_str(), nullptr);
  const std::pair<const char*, int> files[] = {
      {"メモ.txt", 999}, {"表紙.jpg", 1234}, {"空.dat", 0}, {"readme.txt", 12345}};
  for (const auto& [name, size] : files)
    std::ofstream(sample + "\\" + name, std::ios::binary) << std::string(size, 'x');
  std::ofstream(dir.Path() + "\\data.ini", std::ios::binary)
      << "[form]\r\nleft=20\r\ntop=20\r\nwidth=900\r\nheight=640\r\n"
         "[crossbar]\r\nleft=300\r\ntop=300\r\n";

  e2e::AppProcess app(dir.Path());
  ASSERT_TRUE(app.MainWindow());
  HWND tree = app.FindChild(WC_TREEVIEWA);
  HWND list = app.FindChild(WC_LISTVIEWA);
  ASSERT_TRUE(tree && list);
  RemoteBuffer mem(tree);
  EXPECT_EQ(HeaderText(list, 0, mem), "*名前");
  EXPECT_EQ(HeaderText(list, 1, mem), "サイズ(バイト)");

  // The drive of the test folder sits two levels below the Desktop root.
  const std::string drive = dir.Path().substr(0, 2);
  HTREEITEM node = nullptr;
  for (HTREEITEM top : Children(tree, TreeView_GetRoot(tree))) {
    for (HTREEITEM d : Children(tree, top))
      if (NodeText(tree, d, mem).find(drive) != std::string::npos) node = d;
    if (node) break;
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(top));
  }
  ASSERT_TRUE(node) << "no node for " << drive;
  std::string rest = sample.substr(3) + "\\";
  for (std::size_t at; (at = rest.find('\\')) != std::string::npos; rest.erase(0, at + 1)) {
    const std::string name = rest.substr(0, at);
    HTREEITEM next = nullptr;
    for (HTREEITEM c : Children(tree, node))
      if (lstrcmpiA(NodeText(tree, c, mem).c_str(), name.c_str()) == 0) next = c;
    ASSERT_TRUE(next) << "no node " << name;
    node = next;
  }
  // Select the test folder's parent, then click the test folder as a user would.
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(TreeView_GetParent(tree, node)));
  SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
  Wait(500);
  RECT r{};
  *reinterpret_cast<HTREEITEM*>(&r) = node;
  mem.Write(0, &r, sizeof r);
  SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(mem.at(0)));
  ReadProcessMemory(mem.Process(), mem.at(0), &r, sizeof r, nullptr);
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SetForegroundWindow(app.MainWindow());
  PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(tree, WM_LBUTTONUP, 0, at);
  Wait(1500);
  EXPECT_EQ(TreeView_GetSelection(tree), node);
  EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 5);   // four files and a folder
  SaveWindowPicture(app.MainWindow(),
                    std::string("Z:") + MIRABELO_BUILD_DIR + "/shellview-e2e.bmp");
  ASSERT_TRUE(app.Close());
  // The folder shown last is the one written back.
  std::ifstream ini(dir.Path() + "\\data.ini", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Path=" + sample), std::string::npos) << text;
}

}  // namespace
