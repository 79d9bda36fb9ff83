#include "thumbpanel/ImgThreads.h"

#include "base/Exception.h"
#include "ui/Handles.h"

namespace thumbpanel {

namespace {
int blockingWaits = 0;  // UI thread only
}  // namespace

bool InsideBlockingWait() { return blockingWaits > 0; }

void WaitServingSentMessages(HANDLE handle) {
  ++blockingWaits;
  for (;;) {
    const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + 1) break;  // ended, or the wait itself failed
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // runs sent ones
  }
  --blockingWaits;
}

TImgThread::TImgThread(HWND panel, std::int32_t itemID, int imageWidth, int imageHeight,
                       std::string path, const TPanelItems& itemList, bool thumbnailType,
                       const imaging::TImgUtil& loader)
    : panel_(panel), itemID_(itemID), imageWidth_(imageWidth), imageHeight_(imageHeight),
      path_(std::move(path)), itemList_(itemList), thumbnailType_(thumbnailType) {
  loader_.SetQuality(loader.Quality());
  loader_.SetPerformance(loader.Performance());
  loader_.SetSusiePriority(loader.SusiePriority());
  loader_.SetAutoThumb(loader.AutoThumb());
  loader_.SetFont(loader.Font());
  loader_.SetGetType(loader.GetType());
  loader_.SetBKColor(loader.BKColor());
  loader_.SetAviFramePos(loader.AviFramePos());
  loader_.Thumbnail = loader.Thumbnail;
  loader_.SPlugin = loader.SPlugin;
  loader_.CustomLoader = loader.CustomLoader;
  DWORD id = 0;
  thread_.reset(CreateThread(nullptr, 0, &TImgThread::Body, this, CREATE_SUSPENDED, &id));
  if (!thread_) throw Exception("Cannot start a thumbnail worker");
  SetThreadPriority(thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
}

TImgThread::~TImgThread() { TerminateAndWait(); }

void TImgThread::Resume() { ResumeThread(thread_.get()); }

void TImgThread::TerminateAndWait() {
  if (!thread_) return;
  SetThreadPriority(thread_.get(), THREAD_PRIORITY_NORMAL);
  terminated_ = true;
  // A worker never resumed must still run to its end.
  while (ResumeThread(thread_.get()) > 1) {
  }
  WaitServingSentMessages(thread_.get());
  thread_.reset();
}

DWORD WINAPI TImgThread::Body(void* self) {
  try {
    static_cast<TImgThread*>(self)->Run();
  } catch (...) {
  }
  return 0;
}

void TImgThread::Run() {
  if (terminated_) return;
  ui::ComScope com;
  int result = -1;
  if (!terminated_ && itemList_.IndexOfID(itemID_) >= 0 && thumbnailType_) {
    try {
      result = loader_.GetImage(path_, imageWidth_, 0, imageHeight_);
    } catch (...) {
      result = -1;
    }
    if (terminated_) result = -1;
  }
  result_ = result;
  done_.store(true, std::memory_order_release);
  if (!terminated_ && IsWindow(panel_))
    PostMessageA(panel_, WM_IMGTHREAD_RESULT, static_cast<WPARAM>(itemID_), result);
}

void TImgThreads::EndWorker() { Worker.reset(); }

std::optional<int> TImgThreads::FinishedResult() {
  if (!Worker || !Worker->Finished()) return std::nullopt;
  return Worker->Result();
}

}  // namespace thumbpanel
