#include "dialogs/ArchiverCommands.h"

#include "base/Sjis.h"

namespace dialogs {

namespace {

constexpr TArchiverLibrary kLibraries[] = {
    {"UNLHA32.DLL", "unlha32.dll", "Unlha", "LHA解凍に失敗しました"},
    {"7-zip32.dll", "7-zip32.dll", "SevenZip", "ZIP解凍に失敗しました"},
    {"cab32.dll", "cab32.dll", "Cab", "CAB解凍に失敗しました"},
    {"unrar32.dll", "unrar32.dll", "Unrar", "RAR解凍に失敗しました"},
};

std::string Quoted(std::string_view s) {
  std::string q(1, '"');
  q.append(s);
  q += '"';
  return q;
}

}  // namespace

const TArchiverLibrary& ArchiverLibrary(TArchiverKind kind) {
  return kLibraries[static_cast<int>(kind)];
}

std::optional<TArchiverKind> ArchiverForArchive(std::string_view archivePath) {
  const std::string ext = base::AnsiUpperCase(base::ExtractFileExt(archivePath));
  if (ext == ".LZH") return TArchiverKind::Lha;
  if (ext == ".ZIP") return TArchiverKind::Zip;
  if (ext == ".CAB") return TArchiverKind::Cab;
  if (ext == ".RAR") return TArchiverKind::Rar;
  return std::nullopt;
}

std::string ExtractTarget(std::string_view currentFolder, std::string_view archivePath) {
  std::string name = base::ExtractFileName(archivePath);
  name.resize(name.size() - base::ExtractFileExt(name).size());
  return std::string(currentFolder) + "\\解凍フォルダ\\" + name;
}

std::string ExtractCommandLine(TArchiverKind kind, std::string_view archive,
                               std::string_view target) {
  const std::string a = Quoted(archive);
  switch (kind) {
    case TArchiverKind::Lha:
      return "x " + a + " " + Quoted(std::string(target) + "\\") + " ";
    case TArchiverKind::Zip:
      return "x " + a + " -o" + Quoted(target);
    case TArchiverKind::Cab:
    case TArchiverKind::Rar:
      break;
  }
  return "-x " + a + " " + Quoted(std::string(target) + "\\");
}

std::string ExtractWorkingFolder(TArchiverKind kind, std::string_view target) {
  return kind == TArchiverKind::Lha ? std::string(target) + "\\" : std::string(target);
}

std::string ExtractConfirmation(std::string_view archive, std::string_view target) {
  // Line feed before carriage return, as the program has always written it.
  return std::string(archive) + "を\n\r" + std::string(target) +
         "\n\rに解凍します。では良いですか？";
}

std::string CompressCommandLine(std::string_view archiveName,
                                const std::vector<std::string>& files) {
  std::string line = "a -x1 " + std::string(archiveName);
  for (const std::string& f : files) {
    line += ' ';
    line += Quoted(f);
  }
  return line;
}

std::string RelativeToFolder(std::string_view folder, std::string_view path) {
  const std::string prefix = base::IncludeTrailingBackslash(folder);
  if (path.size() > prefix.size() && base::SameText(path.substr(0, prefix.size()), prefix))
    return std::string(path.substr(prefix.size()));
  return std::string(path);
}

std::vector<std::string> LibraryCandidates(std::string_view exeFolder, std::string_view dllFolder,
                                           std::string_view systemFolder,
                                           std::string_view fileName) {
  std::vector<std::string> paths;
  for (std::string_view folder : {exeFolder, dllFolder, systemFolder}) {
    if (!base::IsFullPath(folder)) continue;
    const std::string path = base::IncludeTrailingBackslash(folder) + std::string(fileName);
    bool seen = false;
    for (const std::string& p : paths) seen = seen || base::SameText(p, path);
    if (!seen) paths.push_back(path);
  }
  return paths;
}

std::string LoadFailureMessage(const TArchiverLibrary& lib) {
  const std::string dll = lib.MessageName;
  return dll +
         "をロードできませんでした\r\nmirabeloを置いたフォルダの下にDLLフォルダを作って\r\nそこに" +
         dll + "を置いて使用してください。";
}

std::string EntryPointMessage(const TArchiverLibrary& lib) {
  const std::string dll = lib.MessageName;
  return dll + "関数のエントリーポイントを取得できませんでした\r\n" + dll +
         "を確かめてみてください。";
}

std::string ExtractFailedMessage(std::string_view archive) {
  return std::string(archive) + "\n\rを展開できませんでした。";
}

std::string CompressFailedMessage(std::string_view archive) {
  return std::string(archive) + "\n\rを作成できませんでした。";
}

}  // namespace dialogs
