#pragma once
// The change watcher: a thread waits for file-system change notifications on the shown
// folder (not its subfolders) and reports each one to the UI thread by a posted message. It
// waits until the UI thread has handled the report before it re-arms, so changes made during
// the panel's reload come as one more report; it never waits for the UI thread itself, so
// stopping it from anywhere on the UI thread (also inside the reload) cannot deadlock.
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
  // Created suspended; Resume starts it. Changes count from here on. Nothing when the folder
  // cannot be watched or the system gives no thread. Reports are WM_SHELLCHANGE_CALLBACK
  // messages to windowHandle with wParam = serial.
  static std::unique_ptr<TShellChangeThread> Create(HWND windowHandle, std::uint32_t filter,
                                                    std::string path, unsigned serial);
  ~TShellChangeThread();
  TShellChangeThread(const TShellChangeThread&) = delete;
  TShellChangeThread& operator=(const TShellChangeThread&) = delete;

  void Resume() { ResumeThread(thread_.get()); }
  // Signals the stop event and waits until the thread has ended.
  void StopAndWait();
  bool Terminated() const { return terminated_; }
  // Whether the thread still watches (it ends when the folder cannot be watched any more).
  bool Running() const;
  // The report has been handled: the thread re-arms and waits for the next change.
  void Acknowledge() { SetEvent(handledEvent_.get()); }

  const HWND WindowHandle;
  const std::uint32_t Filter;
  const std::string Path;
  const unsigned Serial;

 private:
  TShellChangeThread(HWND windowHandle, std::uint32_t filter, std::string path, unsigned serial);
  static DWORD WINAPI Body(void* self);
  void Run();
  ui::UniqueChangeHandle change_;
  ui::UniqueKernelHandle stopEvent_;     // manual reset
  ui::UniqueKernelHandle handledEvent_;  // auto reset
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
  // A report of the watcher with this serial arrived: fires OnChange unless that watcher has
  // been stopped since, then lets it go on (unless OnChange stopped or replaced it).
  void Report(unsigned serial);
  // Fired on the UI thread for every reported change.
  TNotifyEvent OnChange;

 private:
  HWND& panelHandle_;
  std::unique_ptr<TShellChangeThread> watcher_;
  unsigned serial_ = 0;
};

}  // namespace thumbpanel
