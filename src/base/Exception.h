#pragma once
// Base of the program's own exceptions (EThumbError, EFindFileCancel, ...): a message text
// in code page 932 that the standard error box shows.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};
