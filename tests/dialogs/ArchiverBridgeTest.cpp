// The archiver bridge with a recording library (command lines, working folder, messages)
// and with the stand-in libraries (real extraction and compression).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "MessagePump.h"
#include "DialogWatchdog.h"
#include "TestDir.h"
#include "base/FileIo.h"
#include "dialogs/ArchiverBridge.h"
#include "dialogs/InputDialog.h"
#include "ui/Application.h"

namespace {

using dialogs::ArchiverLibrary;
using dialogs::TArchiverKind;
using ::test::DialogWatchdog;

std::string WinPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Contents(const std::string& path) {
  std::string data;
  base::ReadWholeFile(path, data);
  return data;
}

class ArchiverBridge : public ::testing::Test {
 protected:
  ArchiverBridge() : dir_("bridge") {
    ui::Application::Initialize();
    cur_ = dir_.Path() + "\\cur";
    CreateDirectoryA(cur_.c_str(), nullptr);
    host_.CurrentFolder = cur_;
    host_.DllFolder = WinPath(MIRABELO_BUILD_DIR "/DLL/");
    host_.RefreshTree = [this] { tree_.push_back("refresh"); };
    host_.SelectPath = [this](const std::string& p) {
      tree_.push_back("select " + p);
      return Exists(p);
    };
  }
  ~ArchiverBridge() override { SetCurrentDirectoryA(WinPath(MIRABELO_BUILD_DIR).c_str()); }

  // A library folder holding the recording library under every archiver's name.
  void UseRecorder() {
    const std::string folder = dir_.Path() + "\\rec\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (auto kind :
         {TArchiverKind::Lha, TArchiverKind::Zip, TArchiverKind::Cab, TArchiverKind::Rar})
      CopyFileA(WinPath(RECORDING_DLL).c_str(), (folder + ArchiverLibrary(kind).FileName).c_str(),
                FALSE);
    host_.DllFolder = folder;
    SetEnvironmentVariableA("MIRABELO_ARCHIVER_LOG", (dir_.Path() + "\\log.txt").c_str());
  }
  std::vector<std::string> LogLines() {
    std::istringstream in(Contents(dir_.Path() + "\\log.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // Runs CompressLha, typing name into the input dialog and pressing Enter.
  void Compress(TPasswordDlg& dlg, const std::string& name) {
    std::thread user([&] {
      for (int i = 0; i < 250 && !IsWindowVisible(dlg.Handle()); ++i) Sleep(20);
      SendMessageA(dlg.Password, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
      PostMessageA(dlg.Password, WM_KEYDOWN, VK_RETURN, 1);
    });
    unlha_::CompressLha(dlg, host_);
    user.join();
  }

  test::TempDir dir_;
  std::string cur_;
  unlha_::TArchiverHost host_;
  std::vector<std::string> tree_;
};

TEST_F(ArchiverBridge, CommandLinesAndWorkingFoldersByteExact) {
  UseRecorder();
  const std::string lhaTarget = cur_ + "\\解凍フォルダ\\s";
  CreateDirectoryA((cur_ + "\\解凍フォルダ").c_str(), nullptr);
  CreateDirectoryA(lhaTarget.c_str(), nullptr);
  {
    DialogWatchdog yes(IDYES);
    for (const char* name : {"s.lzh", "s.ZIP", "s.cab", "s.Rar", "s.txt"})
      unlha_::ExtractArchive(cur_ + "\\" + name, host_);
    EXPECT_EQ(yes.Messages().size(), 4u);  // one confirmation per archive, none for .txt
    EXPECT_EQ(yes.Messages()[1], cur_ + "\\s.ZIPを\n\r" + cur_ +
                                     "\\解凍フォルダ\\s\n\rに解凍します。では良いですか？");
  }
  TPasswordDlg dlg;
  dlg.SetOKCaption("検索(&K)");  // as a file search left it
  host_.SelectedFiles = [this] { return std::vector<std::string>{cur_ + "\\a.jpg", "b c.png"}; };
  Compress(dlg, "pack");
  char caption[32] = {};
  GetWindowTextA(dlg.OKBtn, caption, sizeof caption);
  EXPECT_STREQ(caption, "検索(&K)");
  const std::string t = cur_ + "\\解凍フォルダ\\s";
  const std::vector<std::string> expected{
      "Unlha|x \"" + cur_ + "\\s.lzh\" \"" + t + "\\\" |" + lhaTarget,
      "SevenZip|x \"" + cur_ + "\\s.ZIP\" -o\"" + t + "\"|" + lhaTarget,
      "Cab|-x \"" + cur_ + "\\s.cab\" \"" + t + "\\\"|" + lhaTarget,
      "Unrar|-x \"" + cur_ + "\\s.Rar\" \"" + t + "\\\"|" + lhaTarget,
      "Unlha|a -x1 pack.lzh \"a.jpg\" \"b c.png\"|" + cur_};
  EXPECT_EQ(LogLines(), expected);
  EXPECT_EQ(tree_[0], "refresh");
  EXPECT_EQ(tree_[1], "select " + t);
  EXPECT_EQ(dlg.Text(), "LHA圧縮ダイアログ");
}

TEST_F(ArchiverBridge, DecliningOrAnInputDialogAlreadyUpCallsNothing) {
  UseRecorder();
  DialogWatchdog no(IDNO);
  unlha_::ExtractArchive(cur_ + "\\s.zip", host_);
  EXPECT_EQ(no.Messages().size(), 1u);
  TPasswordDlg dlg;
  dlg.Show();
  unlha_::CompressLha(dlg, host_);  // only focuses the dialog
  dlg.Hide();
  EXPECT_TRUE(LogLines().empty());
  EXPECT_TRUE(tree_.empty());
}

// A library lying in the current folder (the browsed one) is not one of ours.
TEST_F(ArchiverBridge, MissingLibraryOrEntryPointGivesTwoMessagesInARow) {
  UseRecorder();
  SetCurrentDirectoryA(host_.DllFolder.c_str());
  host_.DllFolder = dir_.Path() + "\\none\\";
  {
    DialogWatchdog ok(IDOK);
    unlha_::ExtractArchive(cur_ + "\\s.zip", host_);
    const std::vector<std::string> expected{
        dialogs::LoadFailureMessage(ArchiverLibrary(TArchiverKind::Zip)), "ZIP解凍に失敗しました"};
    EXPECT_EQ(ok.Messages(), expected);
  }
  EXPECT_TRUE(LogLines().empty());
  // A library without the entry point: cab32's file under unrar32's name.
  const std::string folder = dir_.Path() + "\\wrong\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA(WinPath(MIRABELO_BUILD_DIR "/DLL/cab32.dll").c_str(), (folder + "unrar32.dll").c_str(),
            FALSE);
  host_.DllFolder = folder;
  DialogWatchdog ok(IDOK);
  unlha_::ExtractArchive(cur_ + "\\s.rar", host_);
  TPasswordDlg dlg;
  host_.DllFolder = dir_.Path() + "\\none\\";
  unlha_::CompressLha(dlg, host_);
  const std::vector<std::string> expected{
      dialogs::EntryPointMessage(ArchiverLibrary(TArchiverKind::Rar)), "RAR解凍に失敗しました",
      dialogs::LoadFailureMessage(ArchiverLibrary(TArchiverKind::Lha)), "LHA圧縮に失敗しました"};
  EXPECT_EQ(ok.Messages(), expected);
  EXPECT_TRUE(tree_.empty());
}

TEST_F(ArchiverBridge, ZipExtractsIntoAFolderNamedWithoutTheLastExtension) {
  const std::string archive = cur_ + "\\a.b.zip";
  CopyFileA(WinPath(MIRABELO_TEST_DATA "/archives/a.b.zip").c_str(), archive.c_str(), FALSE);
  DialogWatchdog yes(IDYES);
  unlha_::ExtractArchive(archive, host_);
  const std::string target = cur_ + "\\解凍フォルダ\\a.b";
  EXPECT_EQ(Contents(target + "\\a.txt"), "first file\r\n");
  std::string expected;
  for (int i = 0; i < 5000; ++i) expected += char((i * 7 + i / 256) % 256);
  EXPECT_EQ(Contents(target + "\\d\\b.bin"), expected);
  EXPECT_EQ(Contents(target + "\\写真\\日本語.txt"), "UTF-8 name\r\n");  // a UTF-8 name
  EXPECT_EQ(tree_, (std::vector<std::string>{"refresh", "select " + target}));
}

TEST_F(ArchiverBridge, EntriesLeavingTheTargetWriteNothingOutside) {
  const std::string archive = cur_ + "\\evil.zip";
  CopyFileA(WinPath(MIRABELO_TEST_DATA "/archives/evil.zip").c_str(), archive.c_str(), FALSE);
  DialogWatchdog yes(IDYES);
  unlha_::ExtractArchive(archive, host_);
  const std::string target = cur_ + "\\解凍フォルダ\\evil";
  EXPECT_TRUE(Exists(target + "\\ok.txt"));
  ASSERT_EQ(yes.Messages().size(), 2u);  // the library reports the entries it refused
  EXPECT_EQ(yes.Messages()[1], dialogs::ExtractFailedMessage(archive));
  for (const std::string& p :
       {cur_ + "\\解凍フォルダ\\evil.txt", cur_ + "\\解凍フォルダ\\evil2.txt",
        cur_ + "\\解凍フォルダ\\evil3.txt", cur_ + "\\解凍フォルダ\\evil4.txt", cur_ + "\\evil.txt",
        std::string("C:\\drive.txt"), std::string("C:\\abs.txt"), std::string("Z:\\abs.txt")})
    EXPECT_FALSE(Exists(p)) << p;
  WIN32_FIND_DATAA fd;
  int count = 0;
  HANDLE f = FindFirstFileA((target + "\\*").c_str(), &fd);
  do count += fd.cFileName[0] != '.';
  while (FindNextFileA(f, &fd));
  FindClose(f);
  EXPECT_EQ(count, 1);
}

TEST_F(ArchiverBridge, CompressedFilesExtractAgainByteIdentical) {
  std::string binary;
  for (int i = 0; i < 70000; ++i) binary += char(i * 31 % 251);
  base::WriteWholeFile(cur_ + "\\x.bin", binary);
  base::WriteWholeFile(cur_ + "\\表.txt", "日本語の名前\r\n");
  host_.SelectedFiles = [this] { return std::vector<std::string>{cur_ + "\\x.bin", "表.txt"}; };
  TPasswordDlg dlg;
  Compress(dlg, "pack");
  ASSERT_TRUE(Exists(cur_ + "\\pack.lzh"));
  EXPECT_NE(Contents(cur_ + "\\pack.lzh").find("-lh5-"), std::string::npos);
  DialogWatchdog yes(IDYES);
  unlha_::ExtractArchive(cur_ + "\\pack.lzh", host_);
  const std::string target = cur_ + "\\解凍フォルダ\\pack";
  EXPECT_EQ(Contents(target + "\\x.bin"), binary);
  EXPECT_EQ(Contents(target + "\\表.txt"), "日本語の名前\r\n");
  // Packing again under the same name leaves the existing archive as it was.
  const std::string before = Contents(cur_ + "\\pack.lzh");
  host_.SelectedFiles = [] { return std::vector<std::string>{"表.txt"}; };
  Compress(dlg, "pack");
  EXPECT_EQ(Contents(cur_ + "\\pack.lzh"), before);
  EXPECT_EQ(yes.Messages().back(), dialogs::CompressFailedMessage(cur_ + "\\pack.lzh"));
}

// A selected folder brings everything below it, empty folders too.
TEST_F(ArchiverBridge, SelectedFoldersArePackedWithTheirContents) {
  for (const char* folder : {"\\写真", "\\写真\\深い", "\\写真\\空"})
    CreateDirectoryA((cur_ + folder).c_str(), nullptr);
  base::WriteWholeFile(cur_ + "\\写真\\a.txt", "a");
  base::WriteWholeFile(cur_ + "\\写真\\深い\\b.txt", "b");
  base::WriteWholeFile(cur_ + "\\top.txt", "top");
  host_.SelectedFiles = [this] { return std::vector<std::string>{cur_ + "\\写真", "top.txt"}; };
  TPasswordDlg dlg;
  DialogWatchdog yes(IDYES);
  Compress(dlg, "tree");
  unlha_::ExtractArchive(cur_ + "\\tree.lzh", host_);
  EXPECT_EQ(yes.Messages().size(), 1u);  // the confirmation only
  const std::string target = cur_ + "\\解凍フォルダ\\tree";
  EXPECT_EQ(Contents(target + "\\写真\\a.txt"), "a");
  EXPECT_EQ(Contents(target + "\\写真\\深い\\b.txt"), "b");
  EXPECT_EQ(Contents(target + "\\top.txt"), "top");
  const DWORD empty = GetFileAttributesA((target + "\\写真\\空").c_str());
  EXPECT_TRUE(empty != INVALID_FILE_ATTRIBUTES && (empty & FILE_ATTRIBUTE_DIRECTORY));
}

// What a library cannot do is said, naming the archive: nothing to pack, or an archive
// kind the stand-ins do not read.
TEST_F(ArchiverBridge, ALibraryThatFailsIsReported) {
  base::WriteWholeFile(cur_ + "\\s.cab", "MSCF");
  base::WriteWholeFile(cur_ + "\\s.rar", "Rar!");
  DialogWatchdog yes(IDYES);
  unlha_::ExtractArchive(cur_ + "\\s.cab", host_);
  unlha_::ExtractArchive(cur_ + "\\s.rar", host_);
  TPasswordDlg dlg;
  host_.SelectedFiles = [] { return std::vector<std::string>{}; };
  Compress(dlg, "none");
  const std::vector<std::string> messages = yes.Messages();
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[1], dialogs::ExtractFailedMessage(cur_ + "\\s.cab"));
  EXPECT_EQ(messages[3], dialogs::ExtractFailedMessage(cur_ + "\\s.rar"));
  EXPECT_EQ(messages[4], dialogs::CompressFailedMessage(cur_ + "\\none.lzh"));
  EXPECT_FALSE(Exists(cur_ + "\\none.lzh"));
}

}  // namespace
