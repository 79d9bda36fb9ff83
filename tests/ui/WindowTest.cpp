// The framework's window procedure: which windows are ours, and timers that tick through it.
#include <windows.h>

#include <gtest/gtest.h>

#include "DialogWatchdog.h"
#include "base/Exception.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Panel.h"
#include "ui/StatusBar.h"
#include "ui/Timer.h"
#include "MessagePump.h"

namespace {

using test::PumpFor;

// Another kind of window keeps its own data in GWLP_USERDATA: it is never taken for ours,
// also when it notifies one of our windows.
TEST(Window, OnlyOurWindowsHaveAnObject) {
  ui::Application::Initialize();
  struct Host : ui::Form {
    Host() { CreateForm("window-test", WS_OVERLAPPEDWINDOW, 0, 200, 200); }
  } form;
  ui::Panel panel;
  panel.CreatePanel(form.Handle(), 0, 0, 100, 100);
  EXPECT_EQ(ui::Window::FromHandle(panel.Handle()), &panel);
  HWND foreign = CreateWindowExA(0, "BUTTON", "x", WS_CHILD, 0, 0, 10, 10, panel.Handle(), nullptr,
                                 nullptr, nullptr);
  SetWindowLongPtrA(foreign, GWLP_USERDATA, 0x1234);
  EXPECT_EQ(ui::Window::FromHandle(foreign), nullptr);
  SendMessageA(panel.Handle(), WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), LPARAM(foreign));
  DestroyWindow(foreign);
  EXPECT_EQ(ui::Window::FromHandle(nullptr), nullptr);
}

TEST(Timer, TicksUntilDisabledOrDestroyed) {
  ui::Application::Initialize();
  int a = 0, b = 0;
  ui::Timer first;
  first.SetInterval(20);
  first.OnTimer = [&](ui::Timer&) { ++a; };
  {
    ui::Timer second;
    second.SetInterval(20);
    second.OnTimer = [&](ui::Timer& sender) {
      if (++b == 2) sender.SetEnabled(false);
    };
    first.SetEnabled(true);
    second.SetEnabled(true);
    PumpFor(300);
  }
  EXPECT_GE(a, 3);
  EXPECT_EQ(b, 2);
  first.SetEnabled(false);
  const int stopped = a;
  PumpFor(100);
  EXPECT_EQ(a, stopped);
  first.SetInterval(0);  // an interval of 0 never ticks, even when enabled
  first.SetEnabled(true);
  PumpFor(100);
  EXPECT_EQ(a, stopped);
}

// The control's own length counts characters; a double-byte text is longer in bytes.
TEST(StatusBar, ADoubleByteTextReadsBackWhole) {
  ui::Application::Initialize();
  struct Host : ui::Form {
    Host() { CreateForm("status-test", WS_OVERLAPPEDWINDOW, 0, 400, 100); }
  } form;
  ui::StatusBar bar;
  bar.CreateStatusBar(form.Handle(), 0, 0, 400, 20);
  const std::string text = "只今ファイル検索中です(*.jpg) photo.jpg 640x480 12,345バイト";
  for (int i = 0; i < 50; ++i) {
    bar.SetPanelText(text);
    ASSERT_EQ(bar.PanelText(), text);
  }
  bar.SetPanelText("");
  EXPECT_EQ(bar.PanelText(), "");
}

// A failing start-up has built part of its windows (the main form among them) and may
// have posted a quit: the error box still shows, and the program ends with an error code.
TEST(Application, AnExceptionEscapingStartUpIsShownAndFails) {
  ui::Application::Initialize();
  test::DialogWatchdog ok(IDOK);
  const int result = ui::Application::Guarded([] {
    struct Host : ui::Form {
      Host() { CreateForm("start-test", WS_OVERLAPPEDWINDOW, 0, 200, 100); }
    } form;
    ui::Application::SetMainForm(&form);
    form.Show();
    PostQuitMessage(0);
    throw Exception("初期化に失敗しました");
    return 0;
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(ok.Messages(), std::vector<std::string>{"初期化に失敗しました"});
  EXPECT_EQ(ui::Application::MainForm(), nullptr);
  EXPECT_EQ(ui::Application::Guarded([] { return 7; }), 7);
}

}  // namespace
