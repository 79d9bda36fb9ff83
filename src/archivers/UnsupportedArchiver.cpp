#include "archivers/UnsupportedArchiver.h"

#include <string>

#include "archivers/ArchiverCommandLine.h"
#include "archivers/ArchiverDll.h"

namespace archivers {

int ReportUnsupported(const char* kind, LPCSTR cmdLine, LPSTR output, DWORD size) {
  const ArchiverCommand cmd = ParseArchiverCommand(cmdLine ? cmdLine : "");
  std::string report = std::string(kind) + " archives are unsupported by this stand-in library";
  if (cmd.command == "-x" && !cmd.args.empty()) report += ": " + cmd.args[0];
  WriteOutput(output, size, report + "\r\n");
  return kArchiverUnsupported;
}

}  // namespace archivers
