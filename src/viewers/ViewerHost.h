#pragma once
// What the viewers take from the main window, as hooks set when the windows are wired.
// An unset hook counts as an empty panel, an empty path or nothing to do.
#include <functional>
#include <string>

#include "imaging/ImgBox.h"

namespace viewers {

struct WindowBounds {
  int left = 50, top = 50, width = 640, height = 480;
};

struct ViewerHost {
  // The thumbnail panel's items in its current order, by their parsing names.
  std::function<int()> ItemCount;
  std::function<std::string(int index)> ItemPath;
  std::function<std::string()> PreviewFile;
  std::function<std::string()> CurrentFolder;
  // SW_SHOWNORMAL when true, SW_HIDE when false.
  std::function<void(bool visible)> ShowMainWindow;
  // The main window's image-box operations: mode +1 mirror, -1 upside down; angle 90, 270.
  std::function<void(imaging::TImgBox& box, int mode)> gazouhanten;
  std::function<void(imaging::TImgBox& box, int angle)> gazoukaiten;
  // Walks folder and all its subfolders breadth-first, reporting every file and folder
  // with the folder being searched; setting cancel ends the walk. False when the walk ended
  // because the program is ending.
  std::function<bool(const std::string& folder,
                     const std::function<void(const std::string& searched, const std::string& name,
                                              bool& cancel)>& found)>
      FindFiles;
  // The spread viewer's place, held by the main window.
  std::function<WindowBounds()> GetForm7Bounds;
  std::function<void(const WindowBounds&)> SetForm7Bounds;

  int Count() const { return ItemCount ? ItemCount() : 0; }
  std::string Path(int index) const { return ItemPath ? ItemPath(index) : std::string(); }
  std::string Preview() const { return PreviewFile ? PreviewFile() : std::string(); }
  std::string Folder() const { return CurrentFolder ? CurrentFolder() : std::string(); }
  void MainWindow(bool visible) const {
    if (ShowMainWindow) ShowMainWindow(visible);
  }
  // The index of the first item whose path equals path exactly; -1 when none does.
  int IndexOf(const std::string& path) const;
};

}  // namespace viewers
