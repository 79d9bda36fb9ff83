// libFuzzer target for the profile ("data.ini") and text-list ("memo.ini") readers.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/IniFile.h"
#include "base/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  base::SplitLines(text);
  base::IniFile ini(text);
  // Section and key names taken from the input itself reach the matching code.
  const std::string_view name = text.substr(0, std::min<std::size_t>(size, 8));
  ini.ReadString(name, name, "x");
  ini.ReadInteger("Main", name, 7);
  ini.WriteString(name, "Key", "value");
  ini.WriteInteger("Main", name, 42);
  base::IniFile(ini.Text());
  return 0;
}
