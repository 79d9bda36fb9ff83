// What the archiver bridge passes to the libraries and shows to the user.
#include <gtest/gtest.h>

#include "dialogs/ArchiverCommands.h"

namespace dialogs {
namespace {

TEST(ArchiverCommands, ExtensionPicksLibraryWhateverItsCase) {
  EXPECT_EQ(ArchiverForArchive("C:\\a\\x.lzh"), TArchiverKind::Lha);
  EXPECT_EQ(ArchiverForArchive("C:\\a\\x.Zip"), TArchiverKind::Zip);
  EXPECT_EQ(ArchiverForArchive("C:\\a\\x.CAB"), TArchiverKind::Cab);
  EXPECT_EQ(ArchiverForArchive("C:\\a\\x.rar"), TArchiverKind::Rar);
  EXPECT_EQ(ArchiverForArchive("C:\\a\\x.zip.txt"), std::nullopt);
  EXPECT_EQ(ArchiverForArchive("C:\\a.zip\\x"), std::nullopt);  // a folder's extension
  EXPECT_STREQ(ArchiverLibrary(TArchiverKind::Lha).FileName, "UNLHA32.DLL");
  EXPECT_STREQ(ArchiverLibrary(TArchiverKind::Rar).EntryPoint, "Unrar");
}

TEST(ArchiverCommands, TargetDropsOnlyTheLastExtension) {
  EXPECT_EQ(ExtractTarget("D:\\pics", "D:\\pics\\set1.zip"), "D:\\pics\\解凍フォルダ\\set1");
  EXPECT_EQ(ExtractTarget("C:", "C:\\a.b.zip"), "C:\\解凍フォルダ\\a.b");
  // 表 ends in the byte 0x5C: the name is still cut at the real backslash.
  EXPECT_EQ(ExtractTarget("C:\\表", "C:\\表\\表.lzh"), "C:\\表\\解凍フォルダ\\表");
}

TEST(ArchiverCommands, CommandLinesByteExact) {
  const std::string a = "C:\\p\\s.x", t = "C:\\p\\解凍フォルダ\\s";
  EXPECT_EQ(ExtractCommandLine(TArchiverKind::Lha, a, t),
            "x \"C:\\p\\s.x\" \"C:\\p\\解凍フォルダ\\s\\\" ");
  EXPECT_EQ(ExtractCommandLine(TArchiverKind::Zip, a, t),
            "x \"C:\\p\\s.x\" -o\"C:\\p\\解凍フォルダ\\s\"");
  EXPECT_EQ(ExtractCommandLine(TArchiverKind::Cab, a, t),
            "-x \"C:\\p\\s.x\" \"C:\\p\\解凍フォルダ\\s\\\"");
  EXPECT_EQ(ExtractCommandLine(TArchiverKind::Rar, a, t),
            ExtractCommandLine(TArchiverKind::Cab, a, t));
  EXPECT_EQ(ExtractWorkingFolder(TArchiverKind::Lha, t), t + "\\");
  EXPECT_EQ(ExtractWorkingFolder(TArchiverKind::Zip, t), t);
  EXPECT_EQ(CompressCommandLine("pack.lzh", {"a.jpg", "b c.png"}),
            "a -x1 pack.lzh \"a.jpg\" \"b c.png\"");
  EXPECT_EQ(CompressCommandLine(".lzh", {}), "a -x1 .lzh");
}

TEST(ArchiverCommands, MessagesWithTheirLineBreaks) {
  EXPECT_EQ(ExtractConfirmation("C:\\a.zip", "C:\\解凍フォルダ\\a"),
            "C:\\a.zipを\n\rC:\\解凍フォルダ\\a\n\rに解凍します。では良いですか？");
  EXPECT_EQ(LoadFailureMessage(ArchiverLibrary(TArchiverKind::Lha)),
            "unlha32.dllをロードできませんでした\r\nmirabeloを置いたフォルダの下にDLLフォルダを"
            "作って\r\nそこにunlha32.dllを置いて使用してください。");
  EXPECT_EQ(EntryPointMessage(ArchiverLibrary(TArchiverKind::Zip)),
            "7-zip32.dll関数のエントリーポイントを取得できませんでした\r\n7-zip32.dllを確かめてみて"
            "ください。");
  EXPECT_EQ(ExtractFailedMessage("C:\\a.cab"), "C:\\a.cab\n\rを展開できませんでした。");
  EXPECT_EQ(CompressFailedMessage("C:\\p.lzh"), "C:\\p.lzh\n\rを作成できませんでした。");
}

// Never a path the current directory completes: a bare or drive-relative folder is left
// out rather than searched.
TEST(ArchiverCommands, LibrariesComeOnlyFromFullPathsInTheirOrder) {
  EXPECT_EQ(LibraryCandidates("C:\\app\\", "C:\\app\\DLL\\", "C:\\Windows\\system32", "cab32.dll"),
            (std::vector<std::string>{"C:\\app\\cab32.dll", "C:\\app\\DLL\\cab32.dll",
                                      "C:\\Windows\\system32\\cab32.dll"}));
  EXPECT_EQ(LibraryCandidates("\\\\srv\\share\\", "", "C:", "UNLHA32.DLL"),
            (std::vector<std::string>{"\\\\srv\\share\\UNLHA32.DLL"}));
  EXPECT_EQ(LibraryCandidates("DLL\\", ".\\", "C:DLL\\", "x.dll"), std::vector<std::string>{});
  // The library folder named twice (in another case) is tried once.
  EXPECT_EQ(LibraryCandidates("C:\\表\\", "c:\\表", "", "x.dll"),
            (std::vector<std::string>{"C:\\表\\x.dll"}));
}

TEST(ArchiverCommands, RelativeToFolderLeavesBareNamesAndOtherFolders) {
  EXPECT_EQ(RelativeToFolder("C:\\p", "C:\\p\\a.jpg"), "a.jpg");
  EXPECT_EQ(RelativeToFolder("C:", "c:\\a.jpg"), "a.jpg");
  EXPECT_EQ(RelativeToFolder("C:\\p", "a.jpg"), "a.jpg");
  EXPECT_EQ(RelativeToFolder("C:\\p", "C:\\pq\\a.jpg"), "C:\\pq\\a.jpg");
}

}  // namespace
}  // namespace dialogs
