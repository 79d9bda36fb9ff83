#pragma once
// The archiver libraries' command lines: a command, switches starting with '-', and the
// archive followed by folders or files, blanks separating and quotation marks grouping.
#include <string>
#include <string_view>
#include <vector>

namespace archivers {

struct ArchiverCommand {
  std::string command;                // "x", "a", "-x" ...
  std::vector<std::string> switches;  // "-x1", "-oTARGET" (quotes removed)
  std::vector<std::string> args;      // archive first
};

std::vector<std::string> SplitCommandLine(std::string_view line);
ArchiverCommand ParseArchiverCommand(std::string_view line);

// The value of the first switch starting with prefix ("-o" gives "TARGET"), or "".
std::string SwitchValue(const ArchiverCommand& cmd, std::string_view prefix);

}  // namespace archivers
