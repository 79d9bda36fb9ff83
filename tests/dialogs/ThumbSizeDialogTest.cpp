// TForm3 against a fake panel: the apply order, the limits and the dummy folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "MessagePump.h"
#include "WindowPicture.h"
#include "TestDir.h"
#include "dialogs/ThumbSizeDialog.h"
#include "ui/Application.h"

namespace {

class ThumbSizeDialog : public ::testing::Test {
 protected:
  ThumbSizeDialog() : dir_("thumbsize") {
    ui::Application::Initialize();
    form_.DummyFolder = dir_.Path() + "\\dmyfld";
    form_.GetImageHeight = [this] { return height_; };
    form_.GetFolderPath = [this] { return folder_; };
    form_.SetFolderPath = [this](const std::string& p) {
      folder_ = p;
      calls_.push_back("folder " + p);
      dummyExisted_ = GetFileAttributesA(form_.DummyFolder.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    form_.SetImageSize = [this](int s) {
      height_ = s;
      calls_.push_back("size " + std::to_string(s));
    };
    form_.PlaceImageBoxes = [this](int s) { calls_.push_back("boxes " + std::to_string(s)); };
  }
  void Scroll(WORD code, WORD track = 0) {
    SendMessageA(form_.Handle(), WM_HSCROLL, MAKEWPARAM(code, track),
                 reinterpret_cast<LPARAM>(form_.ScrollBar1));
  }

  test::TempDir dir_;
  TForm3 form_;
  int height_ = 64;
  std::string folder_ = "C:\\pics";
  std::vector<std::string> calls_;
  bool dummyExisted_ = false;
};

TEST_F(ThumbSizeDialog, ShowTakesThePanelSizeAndAppliesItInOrder) {
  EXPECT_EQ(form_.ClientWidth(), 220);
  EXPECT_EQ(form_.ClientHeight(), 67);
  EXPECT_TRUE(GetWindowLongA(form_.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  form_.Show();
  EXPECT_EQ(form_.Position(), 64);
  EXPECT_EQ(GetScrollPos(form_.ScrollBar1, SB_CTL), 64);
  EXPECT_EQ(form_.Text(), "サムネイルサイズ=64");
  const std::vector<std::string> expected{"folder " + form_.DummyFolder, "size 64", "boxes 64",
                                          "folder C:\\pics"};
  EXPECT_EQ(calls_, expected);
  EXPECT_TRUE(dummyExisted_);  // made before the panel went there
  ::test::PumpFor(300);
  ::test::SaveWindowPicture(form_.Handle(), MIRABELO_BUILD_DIR "/thumbsize-dialog.bmp");
  form_.Hide();
}

TEST_F(ThumbSizeDialog, ScrollingStopsAtTwentyAndFiveHundred) {
  form_.Show();
  Scroll(SB_LEFT);
  EXPECT_EQ(form_.Position(), 20);
  calls_.clear();
  Scroll(SB_LINELEFT);
  Scroll(SB_PAGELEFT);
  EXPECT_EQ(form_.Position(), 20);
  EXPECT_TRUE(calls_.empty());  // no change, no reload
  Scroll(SB_THUMBTRACK, 499);
  Scroll(SB_PAGERIGHT);
  EXPECT_EQ(form_.Position(), 500);
  EXPECT_EQ(height_, 500);
  EXPECT_EQ(form_.Text(), "サムネイルサイズ=500");
  Scroll(SB_LINERIGHT);
  EXPECT_EQ(form_.Position(), 500);
  form_.Hide();
}

TEST_F(ThumbSizeDialog, DeletedDummyFolderIsMadeAgainByTheNextChange) {
  form_.Show();
  ASSERT_TRUE(std::filesystem::is_directory(form_.DummyFolder));
  std::filesystem::remove(form_.DummyFolder);
  Scroll(SB_LINERIGHT);
  EXPECT_TRUE(dummyExisted_);
  EXPECT_TRUE(std::filesystem::is_directory(form_.DummyFolder));
  EXPECT_EQ(folder_, "C:\\pics");  // back where it was
  form_.Hide();
}

}  // namespace
