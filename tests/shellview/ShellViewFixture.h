#pragma once
// A shown test window holding a linked folder tree and file list, plus helpers for
// answering modal dialogs and making folders of files.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "DialogWatchdog.h"
#include "TestDir.h"
#include "shellview/FileView.h"
#include "shellview/FolderView.h"
#include "ui/Handles.h"
#include "ui/Form.h"

namespace shellview::test {

using ::test::DialogWatchdog;

class HostForm : public ui::Form {
 public:
  HostForm();
};

void WriteFileOfSize(const std::string& path, std::size_t size);
void MakeFolder(const std::string& path);
bool Exists(const std::string& path);
void Pump();

class ShellViewTest : public ::testing::Test {
 protected:
  ShellViewTest();
  ~ShellViewTest() override;

  HTREEITEM ChildNamed(HTREEITEM node, const std::string& text);
  int ItemNamed(const std::string& caption);
  std::vector<std::string> Captions();
  // Commits an in-place edit of a list item with new text, as Enter would.
  void EditListLabel(int item, const std::string& text);
  // A header click as the list's parent receives it.
  void ClickColumn(int column);

  HostForm form;
  TFolderView tree;
  TFileView list;
};

}  // namespace shellview::test
