// TForm1: the items a file command acts on, each taken from its ID list (never from a
// caption, which hides extensions and may be shared by two files).
#include "app/MainWindow.h"

#include "app/FileOperationRules.h"
#include "fsservices/LeftOutMessage.h"
#include "fsservices/ShellSelection.h"
#include "shellview/ShellNames.h"
#include "ui/WideText.h"

std::vector<std::wstring> TForm1::SelectedWidePaths() {
  std::vector<std::wstring> paths;
  const auto add = [&paths](std::wstring path) {
    if (!path.empty()) paths.push_back(std::move(path));
  };
  if (ShellListView1.SelCount() > 0) {
    for (int item : ShellListView1.SelectedItems()) add(ShellListView1.ItemWidePath(item));
    return paths;
  }
  thumbpanel::TPanelItems& items = ImgPanel1.Items();
  for (int i = 0; i < items.Count(); ++i)
    if (items[i].Selected && items[i].HasIDList())
      add(shellview::FileSystemPath(ImgPanel1.AbsoluteIDList(items[i]).get()));
  return paths;
}

std::vector<std::wstring> TForm1::ShellOperable(std::vector<std::wstring> paths) {
  std::vector<std::wstring> tooLong;
  std::erase_if(paths, [&tooLong](const std::wstring& path) {
    if (app::FitsShellOperation(path.size())) return false;
    tooLong.push_back(path);
    return true;
  });
  fsservices::ShowLeftOut(fsservices::kLongPathLeftOut, tooLong);
  return paths;
}

std::vector<std::string> TForm1::SelectedFilePaths() {
  std::vector<std::string> paths;
  std::vector<std::wstring> unsafe;
  for (const std::wstring& path : SelectedWidePaths()) {
    if (std::optional<std::string> exact = ui::ExactAnsi(path))
      paths.push_back(std::move(*exact));
    else
      unsafe.push_back(path);
  }
  fsservices::ShowLeftOut(fsservices::kUnsafeNameLeftOut, unsafe);
  return paths;
}

std::vector<std::string> TForm1::SelectedListPaths() {
  std::vector<std::string> paths;
  std::vector<std::wstring> unsafe;
  for (int item : ShellListView1.SelectedItems()) {
    const std::wstring wide = ShellListView1.ItemWidePath(item);
    if (wide.empty()) continue;
    if (std::string path = ui::ReadableAnsiPath(wide); !path.empty())
      paths.push_back(std::move(path));
    else
      unsafe.push_back(wide);
  }
  fsservices::ShowLeftOut(fsservices::kUnsafeNameLeftOut, unsafe);
  return paths;
}
