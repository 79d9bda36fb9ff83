#include "fsservices/ContextMenuRules.h"

namespace fsservices {

bool IsSendToItem(std::string_view text, bool alternative) {
  return text.find(alternative ? "(&T)" : "(&N)") == 4;
}

bool IsPasteItem(std::string_view text) { return text.find("(&P)") == 8; }

TMenuChoice ClassifyCommand(unsigned command, std::size_t sendToCount) {
  if (command == 0) return {};
  if (command >= kFirstSendToCommand && command - kFirstSendToCommand < sendToCount &&
      command - kFirstSendToCommand < kMaxSendToEntries)
    return {TMenuChoice::SendTo, command - kFirstSendToCommand};
  return {TMenuChoice::ShellCommand, command - 1};
}

}  // namespace fsservices
