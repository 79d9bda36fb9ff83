#include "thumbpanel/ShellChange.h"

#include "shellview/ShellNames.h"
#include "thumbpanel/PanelMessages.h"

namespace thumbpanel {

TShellChangeThread::TShellChangeThread(HWND windowHandle, std::uint32_t filter, std::string path,
                                       unsigned serial)
    : WindowHandle(windowHandle), Filter(filter), Path(std::move(path)), Serial(serial) {}

std::unique_ptr<TShellChangeThread> TShellChangeThread::Create(HWND windowHandle,
                                                               std::uint32_t filter,
                                                               std::string path, unsigned serial) {
  std::unique_ptr<TShellChangeThread> t(
      new TShellChangeThread(windowHandle, filter, std::move(path), serial));
  // Made here rather than in the thread so that a stop before the thread runs is seen, and a
  // change made once the folder is shown is reported however late the thread starts.
  t->change_.reset(FindFirstChangeNotificationA(t->Path.c_str(), FALSE, filter));
  if (!t->change_) return nullptr;
  t->stopEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  t->handledEvent_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!t->stopEvent_ || !t->handledEvent_) return nullptr;
  DWORD id = 0;
  t->thread_.reset(
      CreateThread(nullptr, 0, &TShellChangeThread::Body, t.get(), CREATE_SUSPENDED, &id));
  if (!t->thread_) return nullptr;
  return t;
}

TShellChangeThread::~TShellChangeThread() { StopAndWait(); }

void TShellChangeThread::StopAndWait() {
  if (!thread_) return;
  terminated_ = true;
  SetEvent(stopEvent_.get());
  while (ResumeThread(thread_.get()) > 1) {
  }
  // The thread waits for nothing but its events and the system: it ends at once.
  WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

bool TShellChangeThread::Running() const {
  return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

DWORD WINAPI TShellChangeThread::Body(void* self) {
  try {
    static_cast<TShellChangeThread*>(self)->Run();
  } catch (...) {
  }
  return 0;
}

void TShellChangeThread::Run() {
  const HANDLE changed[2] = {change_.get(), stopEvent_.get()};
  const HANDLE handled[2] = {handledEvent_.get(), stopEvent_.get()};
  while (!terminated_) {
    if (WaitForMultipleObjects(2, changed, FALSE, INFINITE) != WAIT_OBJECT_0) break;
    if (terminated_ || !PostMessageA(WindowHandle, WM_SHELLCHANGE_CALLBACK, Serial, 0)) break;
    // The reload finishes before the watcher re-arms.
    if (WaitForMultipleObjects(2, handled, FALSE, INFINITE) != WAIT_OBJECT_0) break;
    if (!FindNextChangeNotification(change_.get())) break;
  }
}

TShellChangeNotification::TShellChangeNotification(HWND& panelHandle) : panelHandle_(panelHandle) {
  OnStop = [this] { StopWatching(); };
}

void TShellChangeNotification::StartWatching(LPCITEMIDLIST folder) {
  if (!Enabled() || !panelHandle_) return;
  const std::string path = folder ? shellview::ReadableFileSystemPath(folder) : std::string();
  if (path.empty()) return;
  StopWatching();
  // Without a thread the folder is simply not watched.
  std::unique_ptr<TShellChangeThread> watcher =
      TShellChangeThread::Create(panelHandle_, Filter(), path, ++serial_);
  if (!watcher) return;
  watcher_ = std::move(watcher);
  watcher_->Resume();
}

void TShellChangeNotification::StopWatching() { watcher_.reset(); }

void TShellChangeNotification::Report(unsigned serial) {
  if (!watcher_ || watcher_->Serial != serial) return;  // a report of a stopped watcher
  // The watcher goes on even when the reload fails.
  const auto acknowledge = [&] {
    if (watcher_ && watcher_->Serial == serial) watcher_->Acknowledge();
  };
  try {
    if (OnChange) OnChange(*this);
  } catch (...) {
    acknowledge();
    throw;
  }
  acknowledge();
}

}  // namespace thumbpanel
