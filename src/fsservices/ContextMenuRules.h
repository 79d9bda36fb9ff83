#pragma once
// Decisions of the shell context menu that need no shell: which menu item is the Send To
// submenu or a paste command, and what a chosen command id means.
#include <cstddef>
#include <string_view>

namespace fsservices {

// Command ids the shell's own items get: 1 to 32767.
inline constexpr unsigned kFirstShellCommand = 1;
inline constexpr unsigned kLastShellCommand = 32767;
// The Send To entries the menu shows, with their command ids.
inline constexpr unsigned kFirstSendToCommand = 1525;
inline constexpr std::size_t kMaxSendToEntries = 100;

// "送る(&N)" (or "(&T)"): the mnemonic right after four bytes of text.
bool IsSendToItem(std::string_view text, bool alternative);
// "貼り付け(&P)": the mnemonic right after eight bytes of text.
bool IsPasteItem(std::string_view text);

struct TMenuChoice {
  enum Kind { None, SendTo, ShellCommand } kind = None;
  unsigned value = 0;  // Send To entry index, or the shell command's offset (id - 1)
};
// What the tracked menu returned. Every Send To entry shown maps back to itself.
TMenuChoice ClassifyCommand(unsigned command, std::size_t sendToCount);

}  // namespace fsservices
