#pragma once
// The program's own images (made by tools/gen-images.py, compiled in by mirabelo.rc).
#define IDI_MIRABELO 1
#define IDB_TOOLBAR_MAIN 101
#define IDB_TOOLBAR_PREVIEW 102
#define IDB_TOOLBAR_ADDTAB 103

#ifndef RC_INVOKED
#include <windows.h>

#include <span>
#include <vector>

#include "ui/ToolBar.h"

enum class ToolbarStrip {
  Main = IDB_TOOLBAR_MAIN,
  Preview = IDB_TOOLBAR_PREVIEW,
  AddTab = IDB_TOOLBAR_ADDTAB
};

// A strip of 16 x 16 images, magenta transparent; the caller owns it.
HBITMAP LoadToolbarImages(ToolbarStrip strip);
HICON LoadAppIcon(int size);

struct ToolButtonSpec {
  int id;
  ui::ButtonStyle style;
  const char* hint;
  bool reactsOnPress;  // a left and a right command: reacts on press
};
// Toolbar buttons for the specs, images numbered in order (separators take none).
std::vector<ui::ToolButton> MakeToolButtons(std::span<const ToolButtonSpec> specs);
#endif
