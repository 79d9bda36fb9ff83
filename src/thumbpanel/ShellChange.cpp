#include "thumbpanel/ShellChange.h"

#include "shellview/ShellNames.h"
#include "thumbpanel/ImgThreads.h"
#include "thumbpanel/PanelMessages.h"

namespace thumbpanel {

TShellChangeThread::TShellChangeThread(HWND windowHandle, std::uint32_t filter,
                                       std::string path)
    : WindowHandle(windowHandle), Filter(filter), Path(std::move(path)) {}

std::unique_ptr<TShellChangeThread> TShellChangeThread::Create(HWND windowHandle,
                                                               std::uint32_t filter,
                                                               std::string path) {
  std::unique_ptr<TShellChangeThread> t(
      new TShellChangeThread(windowHandle, filter, std::move(path)));
  // Made here rather than in the thread so that a stop before the thread runs is seen.
  t->stopEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!t->stopEvent_) return nullptr;
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
  WaitServingSentMessages(thread_.get());
  thread_.reset();
}

DWORD WINAPI TShellChangeThread::Body(void* self) {
  try {
    static_cast<TShellChangeThread*>(self)->Run();
  } catch (...) {
  }
  return 0;
}

void TShellChangeThread::Run() {
  ui::UniqueChangeHandle change(FindFirstChangeNotificationA(Path.c_str(), FALSE, Filter));
  if (!change) return;
  const HANDLE handles[2] = {change.get(), stopEvent_.get()};
  while (!terminated_) {
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) break;
    if (terminated_) break;
    DWORD_PTR ignored = 0;
    // Synchronous: the reload finishes before the watcher re-arms.
    SendMessageTimeoutA(WindowHandle, WM_SHELLCHANGE_CALLBACK, 0,
                        reinterpret_cast<LPARAM>(this), SMTO_NORMAL, INFINITE, &ignored);
    if (!FindNextChangeNotification(change.get())) break;
  }
}

TShellChangeNotification::TShellChangeNotification(HWND& panelHandle)
    : panelHandle_(panelHandle) {
  OnStop = [this] { StopWatching(); };
}

void TShellChangeNotification::StartWatching(LPCITEMIDLIST folder) {
  if (!Enabled() || !panelHandle_) return;
  const std::string path = folder ? shellview::ReadableFileSystemPath(folder) : std::string();
  if (path.empty()) return;
  StopWatching();
  // Without a thread the folder is simply not watched.
  std::unique_ptr<TShellChangeThread> watcher =
      TShellChangeThread::Create(panelHandle_, Filter(), path);
  if (!watcher) return;
  watcher->OnChangeCallback = [this] {
    if (OnChange) OnChange(*this);
  };
  watcher_ = std::move(watcher);
  watcher_->Resume();
}

void TShellChangeNotification::StopWatching() { watcher_.reset(); }

}  // namespace thumbpanel
