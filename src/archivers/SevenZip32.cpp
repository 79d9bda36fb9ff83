// 7-zip32.dll stand-in: "x ARCHIVE -oFOLDER" extracts ZIP archives (stored, deflate).
#include "archivers/ArchiverCommandLine.h"
#include "archivers/ArchiverDll.h"
#include "archivers/ArchiverExports.h"
#include "archivers/ZipReader.h"

ARCHIVER_ENTRY(SevenZip) {
  using namespace archivers;
  std::string report;
  int result = kArchiverUnsupported;
  try {
    const ArchiverCommand cmd = ParseArchiverCommand(cmdLine ? cmdLine : "");
    if (cmd.command == "x" && !cmd.args.empty())
      result = ExtractToFolder(cmd.args[0], SwitchValue(cmd, "-o"), ReadZip, report);
    else
      report = "unsupported command\r\n";
  } catch (const std::exception& e) {
    report += std::string(e.what()) + "\r\n";
    result = kArchiverReadFailed;
  }
  WriteOutput(output, size, report);
  return result;
}
