#pragma once
// What the panel's window tests share: a shown form holding a panel with the main window's
// settings, sample pictures, message pumping, and real input sent to the screen.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "base/Bitmap.h"
#include "thumbpanel/ImgPanel.h"
#include "ui/Form.h"

namespace thumbpanel::paneltest {

class HostForm : public ui::Form {
 public:
  explicit HostForm(const char* caption = "thumbpanel", int width = 500, int height = 400) {
    CreateForm(caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, width, height);
    Show();
  }
  std::vector<HELPINFO> Helps;  // the help requests that reached the form

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_HELP) return ui::Form::HandleMessage(msg, wp, lp);
    Helps.push_back(*reinterpret_cast<const HELPINFO*>(lp));
    return TRUE;
  }
};

// The settings the main window gives its panel.
void ApplyMainWindowSettings(TCustomImgPanel& panel);

// A JPEG of one colour.
void WriteJpeg(const std::string& path, int w, int h, base::Bgr colour);

// Runs the message loop until done() or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 10000) {
  return ::test::PumpUntil(done, ms);
}
using ::test::PumpFor;

// Real input, as a user gives it. Points are in screen coordinates.
void MouseTo(POINT screen);
void MouseButton(DWORD flags);  // MOUSEEVENTF_LEFTDOWN ...
void KeyDown(WORD vk);
void KeyUp(WORD vk);
void Press(WORD vk);
// The centre of a panel cell, on the screen.
POINT CellCentre(TCustomImgPanel& panel, int index);

// Files and folders by ANSI names, as the program names them.
void MakeFolder(const std::string& path);
bool Exists(const std::string& path);
bool FolderIsEmpty(const std::string& path);
// The panel made its folder the current directory; a folder that is one cannot be removed.
void LeaveFolder();

// What the screen shows in r.
base::Bitmap ScreenPixels(const RECT& r);
// Saves what the screen shows in r as a JPEG file.
void SaveScreenJpeg(const RECT& r, const std::string& path);

}  // namespace thumbpanel::paneltest
