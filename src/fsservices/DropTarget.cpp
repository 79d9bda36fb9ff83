#include "fsservices/DropTarget.h"

#include <commctrl.h>
#include <shellapi.h>

#include <exception>

#include "base/Exception.h"
#include "fsservices/LeftOutMessage.h"
#include "fsservices/ShellSelection.h"
#include "ui/WideText.h"
#include "ui/Window.h"

namespace fsservices {

void TDropDst::SetControl(HWND control) {
  control_ = control;
  Hook();
}

void TDropDst::SetTarget(THookTarget target) {
  target_ = target;
  Hook();
}

void TDropDst::SetAcceptDrop(bool accept) {
  acceptDrop_ = accept;
  if (hooked_) DragAcceptFiles(hooked_, acceptDrop_);
}

void TDropDst::Hook() {
  Unhook();
  if (!control_) return;
  if (!IsWindow(control_)) {
    if (target_ == htForm) throw Exception("TDropDst: the target control has no window");
    return;
  }
  const HWND window = target_ == htForm ? GetAncestor(control_, GA_ROOT) : control_;
  if (!SetWindowSubclass(window, HookProc, reinterpret_cast<UINT_PTR>(this),
                         reinterpret_cast<DWORD_PTR>(this)))
    return;
  hooked_ = window;
  DragAcceptFiles(hooked_, acceptDrop_);
}

void TDropDst::Unhook() {
  if (!hooked_) return;
  DragAcceptFiles(hooked_, FALSE);
  RemoveWindowSubclass(hooked_, HookProc, reinterpret_cast<UINT_PTR>(this));
  hooked_ = nullptr;
}

LRESULT CALLBACK TDropDst::HookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                    DWORD_PTR data) {
  auto* self = reinterpret_cast<TDropDst*>(data);
  if (msg == WM_DROPFILES) {
    self->FileDropped(reinterpret_cast<HDROP>(wp));
    return 0;
  }
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, HookProc, reinterpret_cast<UINT_PTR>(self));
    self->hooked_ = nullptr;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

std::vector<std::wstring> DroppedWidePaths(HDROP drop) {
  std::vector<std::wstring> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0) continue;
    std::wstring path(length + 1, L'\0');
    if (DragQueryFileW(drop, i, path.data(), length + 1) != length) continue;
    path.resize(length);
    files.push_back(std::move(path));
  }
  return files;
}

TDroppedPaths DroppedFilePaths(HDROP drop) {
  TDroppedPaths paths;
  for (std::wstring& wide : DroppedWidePaths(drop)) {
    std::optional<std::string> path = ui::ExactAnsi(wide);
    if (!path)
      paths.Unsafe.push_back(std::move(wide));
    else if (path->size() >= MAX_PATH)
      paths.TooLong.push_back(std::move(wide));
    else
      paths.Files.push_back(std::move(*path));
  }
  return paths;
}

// The drop is finished whatever the handler does.
void TDropDst::FileDropped(HDROP drop) {
  struct Finish {
    HDROP drop;
    ~Finish() { DragFinish(drop); }
  } finish{drop};
  const TDroppedPaths dropped = DroppedFilePaths(drop);
  POINT pt{};
  DragQueryPoint(drop, &pt);
  if (!OnFileDrop) return;
  ShowLeftOut(kLongPathLeftOut, dropped.TooLong);
  ShowLeftOut(kUnsafeNameLeftOut, dropped.Unsafe);
  const std::vector<std::string>& files = dropped.Files;
  try {
    OnFileDrop(*this, files, pt.x, pt.y);
  } catch (const std::exception& e) {
    ui::ShowException(e.what());
  } catch (...) {
    ui::ShowException("Unknown error");
  }
}

}  // namespace fsservices
