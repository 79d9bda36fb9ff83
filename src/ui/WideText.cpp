#include "ui/WideText.h"

#include <windows.h>

namespace ui {

std::wstring ToWide(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

std::string FromWide(const std::wstring& text) {
  if (text.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), narrow.data(), n, nullptr,
                        nullptr);
  return narrow;
}

std::optional<std::string> ExactAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()),
                                    nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string narrow(n, '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), narrow.data(), n,
                      nullptr, &usedDefault);
  // The round trip catches a best fit that the flag does not (a code page's own mapping).
  if (usedDefault || ToWide(narrow) != text) return std::nullopt;
  return narrow;
}

std::string ReadableAnsiPath(const std::wstring& path) {
  if (std::optional<std::string> exact = ExactAnsi(path)) return *exact;
  const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return {};
  std::wstring shortPath(n, L'\0');
  const DWORD written = GetShortPathNameW(path.c_str(), shortPath.data(), n);
  if (written == 0 || written >= n) return {};
  shortPath.resize(written);
  return ExactAnsi(shortPath).value_or(std::string());
}

}  // namespace ui
