#include "archivers/ArchiverCommandLine.h"

namespace archivers {

// A quotation mark cannot be a trail byte of code page 932, so bytes can be scanned as
// they are; a backslash before a quotation mark is part of a path ("TARGET\"), not an
// escape.
std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> tokens;
  std::string current;
  bool inQuotes = false, inToken = false;
  for (char c : line) {
    if (c == '"') {
      inQuotes = !inQuotes;
      inToken = true;
    } else if ((c == ' ' || c == '\t') && !inQuotes) {
      if (inToken) tokens.push_back(std::move(current));
      current.clear();
      inToken = false;
    } else {
      current += c;
      inToken = true;
    }
  }
  if (inToken) tokens.push_back(std::move(current));
  return tokens;
}

ArchiverCommand ParseArchiverCommand(std::string_view line) {
  ArchiverCommand cmd;
  std::vector<std::string> tokens = SplitCommandLine(line);
  if (tokens.empty()) return cmd;
  cmd.command = tokens[0];
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    if (tokens[i].size() > 1 && tokens[i][0] == '-')
      cmd.switches.push_back(tokens[i]);
    else
      cmd.args.push_back(tokens[i]);
  }
  return cmd;
}

std::string SwitchValue(const ArchiverCommand& cmd, std::string_view prefix) {
  for (const std::string& s : cmd.switches)
    if (s.compare(0, prefix.size(), prefix) == 0) return s.substr(prefix.size());
  return {};
}

}  // namespace archivers
