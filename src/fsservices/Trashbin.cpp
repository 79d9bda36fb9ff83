#include "fsservices/Trashbin.h"

#include <shellapi.h>

namespace fsservices {
namespace {

constexpr char kWindowClass[] = "TTrashbinWindow";

ATOM RegisterWindowClass() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kWindowClass;
  return RegisterClassA(&wc);
}

}  // namespace

TTrashbin::TTrashbin() {
  static const ATOM cls = RegisterWindowClass();
  (void)cls;
  window_ = CreateWindowExA(0, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
}

TTrashbin::~TTrashbin() {
  if (window_) DestroyWindow(window_);
}

bool TTrashbin::Delete(const std::string& fileList) {
  // The shell reads up to two zero bytes in a row, wherever the caller's list ends.
  std::string list = fileList;
  list.append(2, '\0');
  if (list[0] == '\0') return false;
  SHFILEOPSTRUCTA op{};
  op.hwnd = window_;
  op.wFunc = FO_DELETE;
  op.pFrom = list.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS;
  op.lpszProgressTitle = Title.c_str();
  return SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace fsservices
