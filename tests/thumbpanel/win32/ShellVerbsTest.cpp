// The panel's clipboard and delete verbs: our side of each call with stand-in folders, and
// the keys on a real folder through Wine's shell.
#include "thumbpanel/ShellVerbs.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstring>

#include "DialogWatchdog.h"
#include "FakeShell.h"
#include "PanelHost.h"
#include "TestDir.h"
#include "shellview/ShellNames.h"
#include "fsservices/DropTarget.h"
#include "thumbpanel/FileDataObject.h"
#include "thumbpanel/ImgShare.h"
#include "thumbpanel/ShellMenuRules.h"
#include "ui/WideText.h"

namespace thumbpanel {
namespace {

using namespace paneltest;

shellview::IdList Parse(const std::string& path) {
  const std::wstring wide = ui::ToWide(path);
  LPITEMIDLIST list = nullptr;
  shellview::DesktopFolder()->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>(wide.c_str()),
                                               nullptr, &list, nullptr);
  return shellview::IdList(shellview::takeOwnership, list);
}

// Puts a CF_HDROP of paths on the clipboard; none empties it.
void SetClipboardFiles(HWND owner, const std::vector<std::string>& paths) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  if (!paths.empty()) {
    std::string list;
    for (const std::string& p : paths) list += p + '\0';
    list += '\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(block);
    SetClipboardData(CF_HDROP, block);
  }
  CloseClipboard();
}

std::vector<std::string> ClipboardFiles(HWND owner) {
  std::vector<std::string> paths;
  if (!OpenClipboard(owner)) return paths;
  if (HANDLE drop = GetClipboardData(CF_HDROP))
    paths = fsservices::DroppedFilePaths(static_cast<HDROP>(drop)).Files;
  CloseClipboard();
  return paths;
}

struct VerbCallTest : ::testing::Test {
  TShellShare share;  // OLE, for the clipboard's data object
  HostForm form{"verbs"};
  FakeFolder folder;
  LPCITEMIDLIST ids[2] = {reinterpret_cast<LPCITEMIDLIST>("\x04\x00\x01\x00\x00"),
                          reinterpret_cast<LPCITEMIDLIST>("\x04\x00\x02\x00\x00")};
  std::vector<LPCITEMIDLIST> selection{ids[0], ids[1]};
};

TEST_F(VerbCallTest, SelectionVerbsAskTheirAttributeThenInvokeByName) {
  // Copying needs SFGAO_CANCOPY.
  folder.attributes = SFGAO_CANDELETE;
  EXPECT_FALSE(InvokeSelectionVerb(&folder, form.Handle(), selection, "copy", true, false));
  EXPECT_EQ(folder.askedMasks, std::vector<SFGAOF>{SFGAO_CANCOPY});
  EXPECT_EQ(folder.askedItems.size(), 2u);
  EXPECT_TRUE(folder.menu.verbs.empty());

  folder.attributes = SFGAO_CANCOPY;
  EXPECT_TRUE(InvokeSelectionVerb(&folder, form.Handle(), selection, "copy", true, false));
  ASSERT_EQ(folder.menu.queries.size(), 1u);
  const FakeContextMenu::Query q = folder.menu.queries[0];
  EXPECT_EQ(q.first, 1u);
  EXPECT_EQ(q.last, 0x7FFFu);
  EXPECT_EQ(q.flags, UINT(CMF_DEFAULTONLY));
  EXPECT_EQ(folder.menu.verbs, std::vector<std::string>{"copy"});
  EXPECT_EQ(folder.menu.owner, form.Handle());
  EXPECT_EQ(folder.menu.show, SW_SHOWNORMAL);

  // Cut and delete need SFGAO_CANDELETE, except on the desktop.
  EXPECT_FALSE(InvokeSelectionVerb(&folder, form.Handle(), selection, "cut", true, false));
  EXPECT_EQ(folder.askedMasks.back(), SFGAOF(SFGAO_CANDELETE));
  EXPECT_TRUE(InvokeSelectionVerb(&folder, form.Handle(), selection, "cut", true, true));
  EXPECT_TRUE(InvokeSelectionVerb(&folder, form.Handle(), selection, "delete", true, true));
  EXPECT_EQ(folder.menu.verbs, (std::vector<std::string>{"copy", "cut", "delete"}));
}

TEST_F(VerbCallTest, FileModeAsksNoAttributesAndAnEmptySelectionRunsNothing) {
  EXPECT_TRUE(InvokeSelectionVerb(&folder, form.Handle(), selection, "delete", false, false));
  EXPECT_TRUE(folder.askedMasks.empty());
  EXPECT_FALSE(InvokeSelectionVerb(&folder, form.Handle(), {}, "copy", true, false));
  EXPECT_EQ(folder.menu.verbs, std::vector<std::string>{"delete"});
}

TEST_F(VerbCallTest, PasteRunsOnTheShownFolderAsAnItemOfItsParent) {
  ::test::TempDir dir("panel-paste");
  MakeFolder(dir.Path() + "\\中身");
  const shellview::IdList shown = Parse(dir.Path() + "\\中身");
  ASSERT_TRUE(shown);
  shellview::IdList parent = shellview::IdList::CopyOf(shown.get());
  ILRemoveLastID(parent.get());
  FakeFolder desktop, parentFolder;
  desktop.child = &parentFolder;
  SetClipboardFiles(form.Handle(), {dir.Path() + "\\a.jpg"});

  // A parent that does not report the folder as a file-system item gets nothing.
  EXPECT_FALSE(PasteIntoFolder(&desktop, shown.get(), form.Handle()));
  ASSERT_EQ(desktop.bound.size(), 1u);
  EXPECT_EQ(desktop.bound[0], IdBytes(parent.get()));
  EXPECT_EQ(parentFolder.askedMasks, std::vector<SFGAOF>{SFGAO_FILESYSTEM});
  ASSERT_EQ(parentFolder.askedItems.size(), 1u);
  EXPECT_EQ(parentFolder.askedItems[0], IdBytes(ILFindLastID(shown.get())));
  EXPECT_TRUE(parentFolder.menu.verbs.empty());

  parentFolder.attributes = SFGAO_FILESYSTEM;
  EXPECT_TRUE(PasteIntoFolder(&desktop, shown.get(), form.Handle()));
  EXPECT_EQ(parentFolder.menu.verbs, std::vector<std::string>{"paste"});
  EXPECT_EQ(parentFolder.askedItems[0], IdBytes(ILFindLastID(shown.get())));

  // Without files on the clipboard nothing is pasted.
  SetClipboardFiles(form.Handle(), {});
  EXPECT_FALSE(PasteIntoFolder(&desktop, shown.get(), form.Handle()));
  EXPECT_EQ(parentFolder.menu.verbs.size(), 1u);
}

TEST_F(VerbCallTest, PasteOnTheDesktopGoesToTheDesktopDirectory) {
  shellview::IdList location;
  ASSERT_HRESULT_SUCCEEDED(
      SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, location.put()));
  FakeFolder desktop, parentFolder;
  desktop.child = &parentFolder;
  SetClipboardFiles(form.Handle(), {"C:\\windows\\win.ini"});
  const shellview::IdList root(shellview::takeOwnership, shellview::AllocIdList(2));
  // The desktop lets the paste through whatever the attributes say.
  EXPECT_TRUE(PasteIntoFolder(&desktop, root.get(), form.Handle()));
  FakeFolder& target = desktop.bound.empty() ? desktop : parentFolder;
  EXPECT_EQ(target.menu.verbs, std::vector<std::string>{"paste"});
  EXPECT_EQ(target.askedItems.back(), IdBytes(ILFindLastID(location.get())));
  SetClipboardFiles(form.Handle(), {});
}

// The keys on a real folder, with the main window's settings.
struct PanelVerbTest : ::testing::Test {
  PanelVerbTest() {
    ApplyMainWindowSettings(panel);
    panel.CreatePanel(form.Handle(), 0, 0, 400, 300);
    for (const char* name : {"\\a.jpg", "\\b.jpg", "\\c.jpg"})
      WriteJpeg(dir.Path() + name, 40, 30, base::Bgr{40, 90, 200});
    panel.SetFolderPath(dir.Path());
    SetForegroundWindow(form.Handle());
    SetFocus(panel.Handle());
    PumpFor(300);
  }
  ~PanelVerbTest() override {
    CaptionTopMargin = 2;
    LeaveFolder();
  }
  void KeyWith(WORD modifier, WORD key) {
    if (modifier) KeyDown(modifier);
    Press(key);
    if (modifier) KeyUp(modifier);
    PumpFor(400);
  }
  ::test::TempDir dir{"panel-verbs"};
  HostForm form{"verbs"};
  TImgPanel panel;
};

TEST_F(PanelVerbTest, CtrlCPutsTheSelectionOnTheClipboardAsAFileList) {
  ASSERT_EQ(panel.Items().Count(), 3);
  SetClipboardFiles(form.Handle(), {});
  panel.SelectItem(0, {}, false);
  panel.SelectItem(2, TShiftState{ssCtrl}, false);
  KeyWith(VK_CONTROL, 'C');
  EXPECT_EQ(ClipboardFiles(form.Handle()),
            (std::vector<std::string>{dir.Path() + "\\a.jpg", dir.Path() + "\\c.jpg"}));
}

TEST_F(PanelVerbTest, DeleteRunsOnlyWithoutModifiersInAWritablePanel) {
  panel.SelectItem(1, {}, false);
  {
    ::test::DialogWatchdog no(IDNO);
    KeyWith(VK_SHIFT, VK_DELETE);
    KeyWith(VK_CONTROL, VK_DELETE);
    KeyWith(VK_MENU, VK_DELETE);
    panel.SetReadOnly(true);
    KeyWith(0, VK_DELETE);
    panel.SetReadOnly(false);
    EXPECT_TRUE(no.Texts().empty());
    EXPECT_EQ(panel.SelCount(), 1);
  }
  // A plain Delete asks the shell, which confirms first; "No" keeps the file.
  ::test::DialogWatchdog no(IDNO);
  KeyWith(0, VK_DELETE);
  EXPECT_TRUE(PumpUntil([&] { return !no.Texts().empty(); }, 5000));
  EXPECT_TRUE(Exists(dir.Path() + "\\b.jpg"));
  EXPECT_EQ(panel.SelCount(), 0);
}

TEST_F(PanelVerbTest, FileModeUsesAbsoluteListsAndPastesOnlyWholePaths) {
  panel.SetViewMode(ivmFile);
  ASSERT_TRUE(panel.AddFile(dir.Path() + "\\a.jpg"));
  ASSERT_TRUE(panel.AddFile(dir.Path() + "\\c.jpg"));
  panel.SelectItem(1, {}, false);
  panel.SelectItem(0, TShiftState{ssCtrl}, false);
  // The verbs go to the desktop with each item's absolute list, in selection order. (Wine's
  // desktop reads only the first element of such a list; Windows takes the whole list.)
  const std::vector<LPCITEMIDLIST>& lists = panel.SelectionIDLists();
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(IdBytes(lists[0]), IdBytes(panel.AbsoluteIDList(panel.Items()[1]).get()));
  EXPECT_EQ(IdBytes(lists[1]), IdBytes(panel.AbsoluteIDList(panel.Items()[0]).get()));

  // A path past the ANSI limit, cut at it, names another file that exists: it is left out.
  const std::string cut = dir.Path() + "\\" + std::string(MAX_PATH - 2 - dir.Path().size(), 'x');
  ASSERT_EQ(cut.size(), std::size_t(MAX_PATH - 1));
  const HANDLE file = CreateFileA(cut.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  SetClipboardFiles(form.Handle(), {cut + "yz.jpg", dir.Path() + "\\b.jpg"});
  EXPECT_EQ(ClipboardFiles(form.Handle()), std::vector<std::string>{dir.Path() + "\\b.jpg"});
  KeyWith(VK_CONTROL, 'V');
  ASSERT_EQ(panel.Items().Count(), 3);
  EXPECT_EQ(panel.GetParsingName(panel.Items()[2]), dir.Path() + "\\b.jpg");
  SetClipboardFiles(form.Handle(), {});
}

}  // namespace
}  // namespace thumbpanel
