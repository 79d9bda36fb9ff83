#pragma once
// Archive entry names made safe to join to a target folder.
#include <optional>
#include <string>
#include <string_view>

namespace archivers {

// The entry's path relative to the target folder with '\' separators, or nothing when it
// would leave that folder: an absolute name, a drive, a step of only dots and blanks (".." and what
// Windows reads as ".."), or no name at all.
// "." steps and empty steps are dropped. Double-byte characters are stepped over whole, so
// a trail byte 0x5C is never taken for a separator.
std::optional<std::string> SafeEntryPath(std::string_view name);

}  // namespace archivers
