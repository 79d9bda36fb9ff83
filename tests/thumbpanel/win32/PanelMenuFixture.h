#pragma once
// A shown form holding a panel with the main window's settings on a folder of three
// pictures, for the tests of the panel's context menu.
#include <gtest/gtest.h>

#include "PanelHost.h"
#include "TestDir.h"
#include "ui/Application.h"

namespace thumbpanel::paneltest {

struct PanelMenuTest : ::testing::Test {
  PanelMenuTest() {
    ApplyMainWindowSettings(panel);
    form.SetBounds(60, 60, 520, 400);
    panel.CreatePanel(form.Handle(), 0, 0, 480, 340);
    const base::Bgr colours[] = {{40, 90, 200}, {200, 120, 30}, {60, 170, 60}};
    const char* names[] = {"\\夕焼け.jpg", "\\海.jpg", "\\森.jpg"};
    for (int i = 0; i < 3; ++i) WriteJpeg(dir.Path() + names[i], 60, 40, colours[i]);
    panel.SetFolderPath(dir.Path());
    SetForegroundWindow(form.Handle());
    PumpFor(500);
  }
  ~PanelMenuTest() override {
    ui::Application::OnHint = nullptr;
    CaptionTopMargin = 2;
    LeaveFolder();
  }
  // A real right click; the menu shows (and is answered by the driver) before it returns.
  void RightClick(POINT at) {
    MouseTo(at);
    PumpFor(100);
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    PumpFor(100);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    PumpFor(1500);
  }
  ::test::TempDir dir{"panel-menu"};
  HostForm form{"menu"};
  TImgPanel panel;
};

}  // namespace thumbpanel::paneltest
