#pragma once
// What the archiver bridge passes to the archiver libraries and what it tells the user:
// the library table, target folders, command lines and message texts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dialogs {

enum class TArchiverKind { Lha, Zip, Cab, Rar };

struct TArchiverLibrary {
  const char* FileName;     // as loaded
  const char* MessageName;  // as named in messages
  const char* EntryPoint;
  const char* ExtractFailure;  // warning when extraction has no usable library
};

const TArchiverLibrary& ArchiverLibrary(TArchiverKind kind);

// The library for an archive by its upper-cased extension (.LZH, .ZIP, .CAB, .RAR).
std::optional<TArchiverKind> ArchiverForArchive(std::string_view archivePath);

// CurrentFolder + "\解凍フォルダ\" + the archive's name without its last extension.
std::string ExtractTarget(std::string_view currentFolder, std::string_view archivePath);
std::string ExtractCommandLine(TArchiverKind kind, std::string_view archive,
                               std::string_view target);
// The working folder made current before the call (LHA wants a final backslash).
std::string ExtractWorkingFolder(TArchiverKind kind, std::string_view target);
std::string ExtractConfirmation(std::string_view archive, std::string_view target);

// "a -x1 NAME.lzh "FILE1" "FILE2"": the archive name unquoted, every file quoted.
std::string CompressCommandLine(std::string_view archiveName,
                                const std::vector<std::string>& files);
// A path taken relative to folder: the part after folder + "\", a bare name unchanged.
std::string RelativeToFolder(std::string_view folder, std::string_view path);

// The full paths a library is loaded from, in order: beside the executable, in the
// library folder, in the system folder. Folders that are not full paths are left out, as
// they would be looked up from the current directory, which is the folder being browsed
// or extracted into, where any file may lie.
std::vector<std::string> LibraryCandidates(std::string_view exeFolder, std::string_view dllFolder,
                                           std::string_view systemFolder,
                                           std::string_view fileName);

std::string LoadFailureMessage(const TArchiverLibrary& lib);
std::string EntryPointMessage(const TArchiverLibrary& lib);
// When a library returns an error for an archive it was to unpack or make.
std::string ExtractFailedMessage(std::string_view archive);
std::string CompressFailedMessage(std::string_view archive);

inline constexpr char kCompressFailure[] = "LHA圧縮に失敗しました";
inline constexpr char kCompressTitle[] = "LHA圧縮ダイアログ";
inline constexpr char kCompressPrompt[] = "作成する圧縮ファイル名(.lzhは自動で付きます)";
inline constexpr int kArchiverOutputSize = 65000;

}  // namespace dialogs
