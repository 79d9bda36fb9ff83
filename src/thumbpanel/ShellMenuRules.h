#pragma once
// Decisions of the panel's shell menu and clipboard verbs that need no shell: the attribute
// a verb asks of the selection, the context-menu flags, where the shell's items go and what
// a chosen command means, and the hint text shown for it.
#include <cstdint>
#include <string>
#include <string_view>

#include "thumbpanel/PanelTypes.h"

namespace thumbpanel {

// Shell attribute bits (SFGAO_) and context-menu flags (CMF_), as the shell defines them.
namespace sfgao {
constexpr std::uint32_t CanCopy = 0x1, CanDelete = 0x20, DropTarget = 0x100,
                        FileSystem = 0x40000000;
}
namespace cmf {
constexpr std::uint32_t DefaultOnly = 0x1, VerbsOnly = 0x2, Explore = 0x4, NoVerbs = 0x8,
                        CanRename = 0x10, NoDefault = 0x20, IncludeStatic = 0x40,
                        Reserved = 0xFFFF0000;
}

// The shell's commands are numbered up to this.
constexpr unsigned LastShellCommand = 0x7FFF;
// The shell command offset that is never invoked.
constexpr unsigned SkippedShellOffset = 18;
constexpr std::size_t MenuHintLength = 200;

// The attribute the selection must carry for a verb in folder mode: "copy" CanCopy, "cut"
// and "delete" CanDelete; 0 for any other verb.
std::uint32_t VerbAttributeMask(std::string_view verb);
// Folder mode: whether the verb may run on a selection with these attributes. The desktop
// lets "cut" and "delete" through whatever the attributes say.
bool VerbAllowed(std::string_view verb, std::uint32_t attributes, bool desktop);

// QueryContextMenu flags for a ContextMenuType. Renaming is offered only in a read-only
// panel, which never renames from the menu itself.
std::uint32_t ContextMenuFlags(TContextMenuType type, bool readOnly);

// Position of the shell's first item: after the owner's items, or earlier when asked.
unsigned ShellMenuPosition(unsigned base, int shellMenuPos);

struct TPanelMenuChoice {
  enum Kind { None, Owner, Shell } kind = None;
  unsigned value = 0;  // owner command number, or the shell command's offset
  friend bool operator==(const TPanelMenuChoice&, const TPanelMenuChoice&) = default;
};
// What the tracked menu returned, given the highest owner command (the base).
TPanelMenuChoice ClassifyMenuCommand(unsigned command, unsigned base);

// The hint for a highlighted command: at most MenuHintLength bytes, never half a double-byte
// character, and a single blank when there is no text.
std::string MenuHintText(std::string_view text);

}  // namespace thumbpanel
