// 7-zip32.dll stand-in: "x ARCHIVE -oFOLDER" extracts ZIP archives (stored, deflate).
#include "archivers/ArchiverDll.h"
#include "archivers/ArchiverExports.h"
#include "archivers/ZipReader.h"

ARCHIVER_ENTRY(SevenZip) {
  using namespace archivers;
  return RunArchiverCommand(
      cmdLine, output, size, [](const ArchiverCommand& cmd, std::string& report) {
        if (cmd.command == "x" && !cmd.args.empty())
          return ExtractToFolder(cmd.args[0], SwitchValue(cmd, "-o"), ReadZip, report);
        report = "unsupported command\r\n";
        return int(kArchiverUnsupported);
      });
}
