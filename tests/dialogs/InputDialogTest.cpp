// TPasswordDlg: its layout, Enter and Esc, and the text kept between uses.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "MessagePump.h"
#include "WindowPicture.h"
#include "dialogs/InputDialog.h"
#include "ui/Application.h"

namespace {

std::string TextOf(HWND w) {
  char buf[256] = {};
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

RECT ChildRect(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Runs the dialog modally while another thread types text and then presses a key.
int RunWith(TPasswordDlg& dlg, const char* typed, WORD key) {
  std::thread user([&] {
    for (int i = 0; i < 250 && !IsWindowVisible(dlg.Handle()); ++i) Sleep(20);
    Sleep(100);
    if (typed) SendMessageA(dlg.Password, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
    PostMessageA(dlg.Password, WM_KEYDOWN, key, 1);
  });
  const int result = dlg.ShowModal();
  user.join();
  return result;
}

TEST(InputDialog, LayoutAndCaptionsAsDesigned) {
  ui::Application::Initialize();
  TPasswordDlg dlg;
  EXPECT_EQ(dlg.ClientWidth(), 290);
  EXPECT_EQ(dlg.ClientHeight(), 116);
  EXPECT_EQ(dlg.Text(), "新規フォルダ作成ダイアログ");
  EXPECT_EQ(TextOf(dlg.Label1), "現在のフォルダ下に作成する新規フォルダ名");
  EXPECT_EQ(TextOf(dlg.OKBtn), "作成(&S)");
  EXPECT_EQ(TextOf(dlg.CancelBtn), "キャンセル(&C)");
  const RECT edit = ChildRect(dlg.Handle(), dlg.Password);
  EXPECT_EQ(edit.left, 8);
  EXPECT_EQ(edit.top, 53);
  EXPECT_EQ(edit.right - edit.left, 273);
  const RECT ok = ChildRect(dlg.Handle(), dlg.OKBtn),
             cancel = ChildRect(dlg.Handle(), dlg.CancelBtn);
  EXPECT_EQ(ok.left, 110);
  EXPECT_EQ(ok.right - ok.left, 75);
  EXPECT_EQ(cancel.left, 192);
  EXPECT_EQ(cancel.right - cancel.left, 89);
  EXPECT_EQ(GetWindowLongA(dlg.OKBtn, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(dlg.Password, GWL_STYLE) & ES_PASSWORD, 0);

  dlg.SetText("現在のディレクトリ以下をファイル検索します");
  dlg.SetPrompt(
      "検索するファイル名を入力してね。\r\n例：あらゆる名前のJPEGファイルを検索する時は\r\n "
      "「*.jpg」と入力。");
  dlg.SetOKCaption("検索(&K)");
  SetWindowTextA(dlg.Password, "*.jpg");
  dlg.Show();
  ::test::PumpFor(300);
  ::test::SaveWindowPicture(dlg.Handle(), MIRABELO_BUILD_DIR "/input-dialog.bmp");
  dlg.Hide();
}

TEST(InputDialog, EnterIsOkEscIsCancelAndTheTextStays) {
  TPasswordDlg dlg;
  EXPECT_EQ(RunWith(dlg, "新しいフォルダ", VK_RETURN), IDOK);
  EXPECT_EQ(dlg.PasswordText(), "新しいフォルダ");
  EXPECT_FALSE(dlg.Visible());
  EXPECT_EQ(RunWith(dlg, nullptr, VK_ESCAPE), IDCANCEL);
  EXPECT_EQ(dlg.PasswordText(), "新しいフォルダ");  // never cleared
  EXPECT_EQ(RunWith(dlg, "", VK_RETURN), IDOK);     // empty is returned as empty
  EXPECT_EQ(dlg.PasswordText(), "");
}

TEST(InputDialog, ButtonsCloseWithTheirResults) {
  TPasswordDlg dlg;
  for (HWND button : {dlg.OKBtn, dlg.CancelBtn}) {
    std::thread user([&] {
      for (int i = 0; i < 250 && !IsWindowVisible(dlg.Handle()); ++i) Sleep(20);
      PostMessageA(button, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dlg.ShowModal(), button == dlg.OKBtn ? IDOK : IDCANCEL);
    user.join();
  }
}

}  // namespace
