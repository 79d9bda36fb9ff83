#include <gtest/gtest.h>

#include "fsservices/BrowseOptions.h"
#include "fsservices/ContextMenuRules.h"
#include "fsservices/DragRules.h"
#include "fsservices/ShellSelection.h"

namespace fsservices {
namespace {

TEST(ShellSelectionTest, LimitAndDoubleZeroList) {
  EXPECT_FALSE(AcceptableSelection(0));
  EXPECT_TRUE(AcceptableSelection(1024));
  EXPECT_FALSE(AcceptableSelection(1025));
  EXPECT_EQ(TooManyFilesText(), "一度に選択できるファイルの数は1024までだよ^^;");

  EXPECT_EQ(MakeDoubleZeroList(std::vector<std::string>{"C:\\a.jpg", "C:\\b"}),
            std::string("C:\\a.jpg\0C:\\b\0\0", 15));
  // An empty path would end the list early; a path with a zero byte is cut there.
  EXPECT_EQ(MakeDoubleZeroList(std::vector<std::string>{"", "C:\\b", std::string("C:\\c\0d", 6)}),
            std::string("C:\\b\0C:\\c\0\0", 11));
  EXPECT_EQ(MakeDoubleZeroList(std::vector<std::string>{}), std::string(2, '\0'));
  // The same for the wide shell calls.
  EXPECT_EQ(MakeDoubleZeroList(std::vector<std::wstring>{L"C:\\caf\u00e9", L"", L"C:\\b"}),
            std::wstring(L"C:\\caf\u00e9\0C:\\b\0\0", 14));
}

TEST(ContextMenuRulesTest, SendToAndPasteItemsByTheirMnemonicPosition) {
  EXPECT_TRUE(IsSendToItem("送る(&N)", false));
  EXPECT_FALSE(IsSendToItem("送る(&N)", true));
  EXPECT_TRUE(IsSendToItem("送る(&T)", true));
  EXPECT_FALSE(IsSendToItem("転送する(&N)", false));  // the mnemonic after eight bytes
  EXPECT_FALSE(IsSendToItem("(&N)", false));
  EXPECT_TRUE(IsPasteItem("貼り付け(&P)"));
  EXPECT_FALSE(IsPasteItem("ショートカットの貼り付け(&S)"));
  EXPECT_FALSE(IsPasteItem("Paste(&P)"));
}

TEST(ContextMenuRulesTest, CommandsMapToSendToEntriesOnlyWhenShown) {
  EXPECT_EQ(ClassifyCommand(0, 5).kind, TMenuChoice::None);
  const TMenuChoice shell = ClassifyCommand(26, 5);
  EXPECT_EQ(shell.kind, TMenuChoice::ShellCommand);
  EXPECT_EQ(shell.value, 25u);
  const TMenuChoice first = ClassifyCommand(1525, 5);
  EXPECT_EQ(first.kind, TMenuChoice::SendTo);
  EXPECT_EQ(first.value, 0u);
  // The hundredth entry is a Send To target too, not a shell command.
  const TMenuChoice last = ClassifyCommand(1624, 100);
  EXPECT_EQ(last.kind, TMenuChoice::SendTo);
  EXPECT_EQ(last.value, 99u);
  // An id past the entries shown (or with none shown) belongs to the shell.
  EXPECT_EQ(ClassifyCommand(1530, 5).kind, TMenuChoice::ShellCommand);
  EXPECT_EQ(ClassifyCommand(1525, 0).kind, TMenuChoice::ShellCommand);
}

TEST(DragRulesTest, EscapeCancelsReleasingBothButtonsDrops) {
  EXPECT_EQ(NextDragStep(true, 0x1), TDragStep::Cancel);
  EXPECT_EQ(NextDragStep(true, 0), TDragStep::Cancel);
  EXPECT_EQ(NextDragStep(false, 0x1), TDragStep::Continue);
  EXPECT_EQ(NextDragStep(false, 0x2 | 0x4), TDragStep::Continue);  // right button with Shift
  EXPECT_EQ(NextDragStep(false, 0x4 | 0x8), TDragStep::Drop);      // keys alone
}

TEST(BrowseOptionsTest, OptionsMapToBrowseFlags) {
  EXPECT_EQ(BrowseFlagsOf(bifReturnOnlyFSDirs | bifStatusText), 0x0005u);
  EXPECT_EQ(BrowseFlagsOf(bifBrowseForComputer | bifBrowseForPrinter | bifDontGoBelowDomain |
                          bifReturnFSAncestors),
            0x300Au);
}

}  // namespace
}  // namespace fsservices
