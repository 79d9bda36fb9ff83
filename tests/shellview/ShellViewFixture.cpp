#include "ShellViewFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "ui/Application.h"

namespace shellview::test {

HostForm::HostForm() {
  CreateForm("shellview", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 900, 700);
  Show();
}

void WriteFileOfSize(const std::string& path, std::size_t size) {
  std::ofstream out(path, std::ios::binary);
  out << std::string(size, 'x');
}

void MakeFolder(const std::string& path) { std::filesystem::create_directories(path); }

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Pump() { ui::Application::ProcessMessages(); }

ShellViewTest::ShellViewTest() {
  static const bool initialized = (ui::Application::Initialize(), true);
  (void)initialized;
  tree.CreateFolderView(form.Handle(), 0, 0, 400, 650);
  tree.SetShowRoot(false);
  tree.RightClickSelect = true;
  tree.SetHideSelection(false);
  tree.SetIndent(20);
  list.CreateFileView(form.Handle(), 400, 0, 480, 650);
  ListView_SetExtendedListViewStyle(list.Handle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  tree.SetFileView(&list);
  Pump();
}

ShellViewTest::~ShellViewTest() { Pump(); }

HTREEITEM ShellViewTest::ChildNamed(HTREEITEM node, const std::string& text) {
  for (HTREEITEM c = tree.FirstChild(node); c; c = tree.NextSibling(c))
    if (tree.NodeText(c) == text) return c;
  return nullptr;
}

int ShellViewTest::ItemNamed(const std::string& caption) {
  for (int i = 0; i < list.Count(); ++i)
    if (list.Caption(i) == caption) return i;
  return -1;
}

std::vector<std::string> ShellViewTest::Captions() {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Caption(i));
  return out;
}

void ShellViewTest::EditListLabel(int item, const std::string& text) {
  SetFocus(list.Handle());
  HWND edit = ListView_EditLabel(list.Handle(), item);
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, text.c_str());
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  Pump();
}

void ShellViewTest::ClickColumn(int column) {
  NMLISTVIEW nm{};
  nm.hdr.hwndFrom = list.Handle();
  nm.hdr.idFrom = GetDlgCtrlID(list.Handle());
  nm.hdr.code = LVN_COLUMNCLICK;
  nm.iItem = -1;
  nm.iSubItem = column;
  SendMessageA(form.Handle(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

}  // namespace shellview::test
