#pragma once
// The message that names the items a command left out, with their whole wide names.
#include <string>
#include <vector>

namespace fsservices {

// Nothing when no path was left out; reason is kLongPathLeftOut or kUnsafeNameLeftOut.
void ShowLeftOut(const char* reason, const std::vector<std::wstring>& paths);

}  // namespace fsservices
