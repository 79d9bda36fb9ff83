#include "fsservices/Trashbin.h"

#include <shellapi.h>

#include "fsservices/ShellSelection.h"
#include "ui/WideText.h"

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

bool TTrashbin::Delete(const std::vector<std::wstring>& paths) {
  const std::wstring list = MakeDoubleZeroList(paths);
  if (list[0] == L'\0') return false;
  const std::wstring title = ui::ToWide(Title);
  SHFILEOPSTRUCTW op{};
  op.hwnd = window_;
  op.wFunc = FO_DELETE;
  op.pFrom = list.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_SIMPLEPROGRESS;
  op.lpszProgressTitle = title.c_str();
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace fsservices
