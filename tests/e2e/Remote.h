#pragma once
// Driving the real program's controls from the test process: a buffer inside the program
// for messages that carry pointers, tree walking, pictures of the screen.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "WindowPicture.h"

namespace e2e {

// A window's text (a caption, a control's text).
std::string WindowText(HWND window);

// A buffer inside the program's process for messages that carry pointers.
class RemoteBuffer {
 public:
  explicit RemoteBuffer(HWND window);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  HANDLE Process() const { return process_; }
  char* at(std::size_t offset) const { return static_cast<char*>(p_) + offset; }
  void Write(std::size_t offset, const void* data, std::size_t size);
  std::string ReadText(std::size_t offset);
  static constexpr std::size_t kSize = 4096, kTextSize = 512, kTextAt = 1024;

 private:
  HANDLE process_ = nullptr;
  void* p_ = nullptr;
};

std::string NodeText(HWND tree, HTREEITEM node, RemoteBuffer& mem);
std::string HeaderText(HWND list, int column, RemoteBuffer& mem);
std::vector<HTREEITEM> Children(HWND tree, HTREEITEM node);
// The tree node of a folder path (expanding the way down), or null.
HTREEITEM FindFolderNode(HWND tree, const std::string& path, RemoteBuffer& mem);
// The node's text rectangle in the tree's client coordinates.
RECT NodeRect(HWND tree, HTREEITEM node, RemoteBuffer& mem);
// Selects the node's parent, then clicks the node as a user would and waits until it is selected.
void ClickNode(HWND main, HWND tree, HTREEITEM node, RemoteBuffer& mem);
// The middle of a rectangle.
POINT Centre(const RECT& r);
// A real mouse click (SendInput) at a point in the window's client coordinates.
void ClickClient(HWND window, POINT client, bool rightButton = false);
// A control rectangle that a message writes into the program's memory (TB_GETRECT ...).
RECT RemoteRect(HWND control, UINT msg, WPARAM wp, RemoteBuffer& mem);
using ::test::SaveWindowPicture;
// A visible top-level window of the program (of a class, or any) that shows the text in its
// caption or in a child's, or null after ms.
HWND WaitForWindow(HWND main, const char* cls, const std::string& text, int ms = 8000);
// A key pressed and released (SendInput).
void PressKey(WORD key);
// Waits while letting this thread's messages through.
void Wait(int ms);

}  // namespace e2e
