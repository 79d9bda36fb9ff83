// UNLHA32.DLL stand-in: "x ARCHIVE [FOLDER\]" extracts, "a [-x1] ARCHIVE FILE..." packs
// (-lh5-).
#include "archivers/ArchiverDll.h"
#include "archivers/ArchiverExports.h"
#include "archivers/LzhArchive.h"

ARCHIVER_ENTRY(Unlha) {
  using namespace archivers;
  return RunArchiverCommand(cmdLine, output, size, [](ArchiverCommand cmd, std::string& report) {
    if ((cmd.command == "x" || cmd.command == "e") && !cmd.args.empty())
      return ExtractToFolder(cmd.args[0], cmd.args.size() > 1 ? cmd.args[1] : "", ReadLzh, report);
    if (cmd.command == "a" && !cmd.args.empty()) {
      const std::string archive = cmd.args[0];
      cmd.args.erase(cmd.args.begin());
      return CreateLzhArchive(archive, cmd.args, report);
    }
    report = "unsupported command\r\n";
    return int(kArchiverUnsupported);
  });
}
