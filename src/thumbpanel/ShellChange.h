#pragma once
// The change watcher: a thread waits for file-system change notifications on the shown
// folder (not its subfolders) and runs a callback synchronously on the UI thread.
#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "thumbpanel/PanelSettings.h"
#include "ui/Handles.h"

namespace thumbpanel {

class TShellChangeThread {
 public:
  // Created suspended; Resume starts it. Nothing when the system gives no thread.
  static std::unique_ptr<TShellChangeThread> Create(HWND windowHandle, std::uint32_t filter,
                                                    std::string path);
  ~TShellChangeThread();
  TShellChangeThread(const TShellChangeThread&) = delete;
  TShellChangeThread& operator=(const TShellChangeThread&) = delete;

  void Resume() { ResumeThread(thread_.get()); }
  // Signals the stop event, terminates and waits (serving the callback meanwhile).
  void StopAndWait();
  bool Terminated() const { return terminated_; }
  // Runs the change callback; called by the panel window for WM_SHELLCHANGE_CALLBACK.
  void CallBack() {
    if (!terminated_ && OnChangeCallback) OnChangeCallback();
  }

  const HWND WindowHandle;
  const std::uint32_t Filter;
  const std::string Path;
  std::function<void()> OnChangeCallback;

 private:
  TShellChangeThread(HWND windowHandle, std::uint32_t filter, std::string path);
  static DWORD WINAPI Body(void* self);
  void Run();
  ui::UniqueKernelHandle stopEvent_;
  ui::UniqueKernelHandle thread_;
  std::atomic<bool> terminated_{false};
};

class TShellChangeNotification : public TShellChangeSettings {
 public:
  explicit TShellChangeNotification(HWND& panelHandle);
  ~TShellChangeNotification() override { StopWatching(); }

  void StartWatching(LPCITEMIDLIST folder);
  void StopWatching();
  TShellChangeThread* Watcher() const { return watcher_.get(); }
  // Fired on the UI thread for every reported change.
  TNotifyEvent OnChange;

 private:
  HWND& panelHandle_;
  std::unique_ptr<TShellChangeThread> watcher_;
};

}  // namespace thumbpanel
