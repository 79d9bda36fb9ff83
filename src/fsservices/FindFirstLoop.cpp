#include "fsservices/FindFirstLoop.h"

#include <utility>

namespace fsservices {

std::uint32_t TFindFirstLoop::Run() {
  if (!OnFind) return 0;
  // Idle again however the walk ends, also when a handler throws.
  struct RunningMark {
    bool& flag;
    bool previous;
    explicit RunningMark(bool& f) : flag(f), previous(std::exchange(f, true)) {}
    ~RunningMark() { flag = previous; }
  } mark(running_);

  TFindData data;
  const auto search = platform_.FindFirst(path_, data);
  if (!search) return 0;
  bool first = true;
  do {
    bool cancel = false;
    OnFind(*this, data, cancel);
    if (cancel) {
      if (ExceptionOnCancel)
        throw EFindFirstLoopCancel(first ? "TFindFirstLoop Cancelled" : "Search Canceled");
      return kErrorCancelled;
    }
    first = false;
  } while (search->Next(data));
  const std::uint32_t error = search->LastError();
  return error == kErrorNoMoreFiles ? 0 : error;
}

}  // namespace fsservices
