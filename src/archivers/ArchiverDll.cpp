#include "archivers/ArchiverDll.h"

#include <cstring>

#include "archivers/EntryPath.h"
#include "archivers/LzhArchive.h"
#include "base/FileIo.h"
#include "base/Sjis.h"

namespace archivers {

namespace {

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Creates path and its missing parents; true when it is a folder afterwards.
bool MakeFolders(const std::string& path) {
  for (std::size_t i = 0; i < path.size(); i += base::CharLength(path, i))
    if (path[i] == '\\' && i > 0 && path[i - 1] != ':')
      CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
  const DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteNewFile(const std::string& path, std::string_view data) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(f, data.data(), DWORD(data.size()), &written, nullptr) && written == data.size();
  CloseHandle(f);
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

std::uint32_t DosTimeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA fad;
  WORD date = 0x21, time = 0;  // 1980-01-01
  FILETIME local;
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &fad) &&
      FileTimeToLocalFileTime(&fad.ftLastWriteTime, &local))
    FileTimeToDosDateTime(&local, &date, &time);
  return std::uint32_t(date) << 16 | time;
}

// A UTF-8 entry name in the system code page; characters it lacks become '?', which no
// file name may hold, so such an entry fails to write rather than landing elsewhere.
std::string AnsiName(const ArchiveEntry& e) {
  if (!e.nameIsUtf8) return e.name;
  const int wide = MultiByteToWideChar(CP_UTF8, 0, e.name.data(), int(e.name.size()), nullptr, 0);
  std::wstring w(wide, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, e.name.data(), int(e.name.size()), w.data(), wide);
  const int bytes = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string ansi(bytes, '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), wide, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

}  // namespace

int ExtractToFolder(const std::string& archivePath, const std::string& target, ArchiveReader reader,
                    std::string& report) {
  std::string archive;
  if (!base::ReadWholeFile(archivePath, archive)) {
    report += "cannot read " + archivePath + "\r\n";
    return kArchiverReadFailed;
  }
  const std::string root = base::ExcludeTrailingBackslash(target.empty() ? "." : target);
  if (!MakeFolders(root)) {
    report += "cannot make " + root + "\r\n";
    return kArchiverWriteFailed;
  }
  int result = kArchiverOk;
  std::vector<std::string> skipped;
  try {
    reader(
        archive,
        [&](const ArchiveEntry& e) {
          const std::string name = AnsiName(e);
          const std::optional<std::string> safe = SafeEntryPath(name);
          if (!safe) {
            report += "refused (outside the folder): " + name + "\r\n";
            result = kArchiverPartly;
            return;
          }
          const std::string path = root + "\\" + *safe;
          const std::string folder =
              e.isDirectory ? path : base::ExcludeTrailingBackslash(base::ExtractFilePath(path));
          if (!MakeFolders(folder)) {
            report += "cannot make " + folder + "\r\n";
            result = kArchiverWriteFailed;
          } else if (e.isDirectory) {
            return;
          } else if (Exists(path)) {
            report += "exists, kept: " + *safe + "\r\n";
            result = kArchiverPartly;
          } else if (!WriteNewFile(path, e.data)) {
            report += "cannot write " + path + "\r\n";
            result = kArchiverWriteFailed;
          } else {
            report += *safe + "\r\n";
          }
        },
        skipped);
  } catch (const ArchiveError& e) {
    report += std::string(e.what()) + "\r\n";
    return kArchiverReadFailed;
  }
  for (const std::string& name : skipped) report += "unsupported method, skipped: " + name + "\r\n";
  return skipped.empty() ? result : kArchiverPartly;
}

namespace {

// Adds one file, or a folder with everything below it, under the entry name given.
// Links inside a folder (junctions, symbolic links) are not followed: they may lead
// back up and round for ever.
class LzhPacker {
 public:
  explicit LzhPacker(std::string& report) : report_(report) {}

  void Add(const std::string& path, const std::string& name, bool selected) {
    const DWORD attr = GetFileAttributesA(path.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) {
      if (!selected && (attr & FILE_ATTRIBUTE_REPARSE_POINT))
        return Skip("link not followed, skipped: " + path);
      AddFolder(path, name);
      return;
    }
    std::string data;
    if (attr == INVALID_FILE_ATTRIBUTES || !base::ReadWholeFile(path, data))
      return Skip("cannot read, skipped: " + path);
    Append([&] { AppendLzhEntry(archive, name, data, DosTimeOf(path)); }, name);
  }

  std::string archive;
  int result = kArchiverOk;

 private:
  void AddFolder(const std::string& path, const std::string& name) {
    Append([&] { AppendLzhFolder(archive, name, DosTimeOf(path)); }, name + "\\");
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return Skip("cannot list, skipped: " + path);
    std::vector<std::string> children;
    do {
      const std::string child = fd.cFileName;
      if (child != "." && child != "..") children.push_back(child);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    for (const std::string& child : children) Add(path + "\\" + child, name + "\\" + child, false);
  }

  template <typename AppendEntry>
  void Append(AppendEntry append, const std::string& name) {
    try {
      append();
      report_ += name + "\r\n";
    } catch (const ArchiveError& e) {
      Skip(e.what());
    }
  }

  void Skip(const std::string& why) {
    report_ += why + "\r\n";
    result = kArchiverPartly;
  }

  std::string& report_;
};

}  // namespace

int CreateLzhArchive(const std::string& archivePath, const std::vector<std::string>& files,
                     std::string& report) {
  if (Exists(archivePath)) {
    report += "exists, kept: " + archivePath + "\r\n";
    return kArchiverWriteFailed;
  }
  if (files.empty()) {
    report += "no files\r\n";
    return kArchiverUnsupported;
  }
  LzhPacker packer(report);
  for (const std::string& file : files)
    packer.Add(
        base::ExcludeTrailingBackslash(file),
        SafeEntryPath(file).value_or(base::ExtractFileName(base::ExcludeTrailingBackslash(file))),
        true);
  if (packer.archive.empty()) return kArchiverReadFailed;
  FinishLzh(packer.archive);
  if (!WriteNewFile(archivePath, packer.archive)) {
    report += "cannot write " + archivePath + "\r\n";
    return kArchiverWriteFailed;
  }
  return packer.result;
}

void WriteOutput(LPSTR output, DWORD size, const std::string& text) {
  if (!output || size == 0) return;
  const std::string_view fit = base::CutAtCharBoundary(text, size - 1);
  std::memcpy(output, fit.data(), fit.size());
  output[fit.size()] = '\0';
}

}  // namespace archivers
