#include "archivers/UnsupportedArchiver.h"

#include <string>

#include "archivers/ArchiverDll.h"

namespace archivers {

int ReportUnsupported(const char* kind, LPCSTR cmdLine, LPSTR output, DWORD size) {
  return RunArchiverCommand(
      cmdLine, output, size, [kind](const ArchiverCommand& cmd, std::string& report) {
        report = std::string(kind) + " archives are unsupported by this stand-in library";
        if (cmd.command == "-x" && !cmd.args.empty()) report += ": " + cmd.args[0];
        report += "\r\n";
        return int(kArchiverUnsupported);
      });
}

}  // namespace archivers
