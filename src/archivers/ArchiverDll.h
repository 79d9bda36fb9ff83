#pragma once
// The Win32 side shared by the stand-in archiver libraries: each library's entry point
// parses its command line and calls these, which read archives and write files.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "archivers/ArchiveEntry.h"
#include "archivers/ArchiverCommandLine.h"

namespace archivers {

// Return codes of the entry points.
enum ArchiverResult : int {
  kArchiverOk = 0,
  kArchiverUnsupported = 0x8001,  // command or archive kind this library does not handle
  kArchiverReadFailed = 0x8002,   // the archive cannot be read or is broken
  kArchiverPartly = 0x8003,       // some entries were refused or skipped
  kArchiverWriteFailed = 0x8004,  // a file could not be written
};

using ArchiveReader = void (*)(std::string_view archive, const EntrySink& sink,
                               std::vector<std::string>& skipped);

// Extracts every entry whose name stays inside target (made when missing); never
// replaces an existing file. report receives one line per problem.
int ExtractToFolder(const std::string& archivePath, const std::string& target, ArchiveReader reader,
                    std::string& report);

// Packs files and folders (relative to the current folder; a folder with everything
// below it) into a new archive; an existing archive is left alone.
int CreateLzhArchive(const std::string& archivePath, const std::vector<std::string>& files,
                     std::string& report);

// Copies text into the caller's buffer, cut at a character boundary and always ended.
void WriteOutput(LPSTR output, DWORD size, const std::string& text);

// An entry point's frame: parses the command line, runs the command (which returns the
// result and adds to the report), turns any failure into a result, writes the report.
template <typename Command>
int RunArchiverCommand(LPCSTR cmdLine, LPSTR output, DWORD size, Command command) {
  std::string report;
  int result;
  try {
    result = command(ParseArchiverCommand(cmdLine ? cmdLine : ""), report);
  } catch (const std::exception& e) {
    report += std::string(e.what()) + "\r\n";
    result = kArchiverReadFailed;
  }
  WriteOutput(output, size, report);
  return result;
}

}  // namespace archivers
