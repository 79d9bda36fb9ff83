#pragma once
// TDropDst receives files dropped from other programs onto a control (or onto the form
// that holds it): it hooks the target window's procedure, accepts file drops there and
// raises OnFileDrop with the dropped paths and the point in the target's client area.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace fsservices {

enum THookTarget { htControl, htForm };

// The paths of a CF_HDROP block, whole.
std::vector<std::wstring> DroppedWidePaths(HDROP drop);
// The same for the ANSI file functions. A path too long for them, or with no exact ANSI
// form, is left out rather than cut or best-fitted, which could name another file.
struct TDroppedPaths {
  std::vector<std::string> Files;
  std::vector<std::wstring> TooLong, Unsafe;  // left out
};
TDroppedPaths DroppedFilePaths(HDROP drop);

class TDropDst {
 public:
  TDropDst() = default;
  ~TDropDst() { Unhook(); }
  TDropDst(const TDropDst&) = delete;
  TDropDst& operator=(const TDropDst&) = delete;

  HWND Control() const { return control_; }
  // Hooks the new target (unhooking the previous one). A form target of a control without
  // a window throws; a control without a window is skipped.
  void SetControl(HWND control);
  THookTarget Target() const { return target_; }
  void SetTarget(THookTarget target);
  bool AcceptDrop() const { return acceptDrop_; }
  void SetAcceptDrop(bool accept);
  // The window whose procedure is hooked, or null.
  HWND HookedWindow() const { return hooked_; }

  std::function<void(TDropDst& Sender, const std::vector<std::string>& Files, int X, int Y)>
      OnFileDrop;

 private:
  static LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                   DWORD_PTR data);
  void Hook();
  void Unhook();
  void FileDropped(HDROP drop);

  HWND control_ = nullptr;
  THookTarget target_ = htControl;
  bool acceptDrop_ = true;
  HWND hooked_ = nullptr;
};

}  // namespace fsservices
