// UNLHA32.DLL stand-in: "x ARCHIVE [FOLDER\]" extracts, "a [-x1] ARCHIVE FILE..." packs
// (stored, -lh0-).
#include "archivers/ArchiverCommandLine.h"
#include "archivers/ArchiverDll.h"
#include "archivers/ArchiverExports.h"
#include "archivers/LzhArchive.h"

ARCHIVER_ENTRY(Unlha) {
  using namespace archivers;
  std::string report;
  int result = kArchiverUnsupported;
  try {
    ArchiverCommand cmd = ParseArchiverCommand(cmdLine ? cmdLine : "");
    if ((cmd.command == "x" || cmd.command == "e") && !cmd.args.empty()) {
      result =
          ExtractToFolder(cmd.args[0], cmd.args.size() > 1 ? cmd.args[1] : "", ReadLzh, report);
    } else if (cmd.command == "a" && !cmd.args.empty()) {
      std::string archive = cmd.args[0];
      cmd.args.erase(cmd.args.begin());
      result = CreateLzhArchive(archive, cmd.args, report);
    } else {
      report = "unsupported command\r\n";
    }
  } catch (const std::exception& e) {
    report += std::string(e.what()) + "\r\n";
    result = kArchiverReadFailed;
  }
  WriteOutput(output, size, report);
  return result;
}
