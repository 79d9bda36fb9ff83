#pragma once
// Icon and cursor files of one colour, and the file types that make the shell show such a
// file with its own picture, registered as Windows ships them (a fresh Wine has neither).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test {

// A 32 x 32 icon (.ico) or cursor (.cur) file whose picture is one opaque colour.
inline std::string IconFileBytes(bool cursor, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  constexpr std::uint32_t size = 32, pixels = size * size * 4, mask = 4 * size;
  std::string out;
  const auto u16 = [&](std::uint32_t v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
  };
  const auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  u16(0);
  u16(cursor ? 2 : 1);
  u16(1);
  out += {char(size), char(size), 0, 0};
  u16(cursor ? 16 : 1);  // a cursor's hot spot, an icon's planes and bits
  u16(cursor ? 16 : 32);
  u32(40 + pixels + mask);
  u32(6 + 16);
  // The image: a bitmap of twice the height, colours then the transparency mask.
  for (std::uint32_t v : {40u, size, 2 * size}) u32(v);
  u16(1);
  u16(32);
  for (std::uint32_t v : {0u, pixels + mask, 0u, 0u, 0u, 0u}) u32(v);
  for (std::uint32_t i = 0; i < size * size; ++i) out += {char(b), char(g), char(r), char(0xFF)};
  out.append(mask, '\0');
  return out;
}

// While it lives, .ico and .cur files have the shell's "the file is its own icon" entries.
class OwnIconFileTypes {
 public:
  OwnIconFileTypes() {
    static const char* const entries[][2] = {
        {".ico", "icofile"}, {"icofile", nullptr}, {"icofile\\DefaultIcon", "%1"},
        {".cur", "curfile"}, {"curfile", nullptr}, {"curfile\\DefaultIcon", "%1"}};
    for (const auto& [key, value] : entries) {
      HKEY k = nullptr;
      DWORD disposition = 0;
      if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                          &disposition) != ERROR_SUCCESS)
        continue;
      if (disposition == REG_CREATED_NEW_KEY) {
        created_.insert(created_.begin(), key);
        if (value)
          RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         DWORD(std::string(value).size() + 1));
      }
      RegCloseKey(k);
    }
  }
  ~OwnIconFileTypes() {
    for (const std::string& key : created_) RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
  }
  OwnIconFileTypes(const OwnIconFileTypes&) = delete;
  OwnIconFileTypes& operator=(const OwnIconFileTypes&) = delete;

 private:
  std::vector<std::string> created_;  // deepest first
};

}  // namespace test
