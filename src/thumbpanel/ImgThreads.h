#pragma once
// The thumbnail workers: one short-lived thread per thumbnail at below-normal priority,
// each with its own loader and result bitmap, posting its result to the panel window.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "base/Bitmap.h"
#include "imaging/ImgUtils.h"
#include "thumbpanel/ThumbQueue.h"
#include "ui/Handles.h"

namespace thumbpanel {

// Result message of a worker: wParam = ItemID, lParam = 0 made, -1 none, 1 file missing.
constexpr UINT WM_IMGTHREAD_RESULT = WM_USER + 1;

// Waits for a handle while still serving messages sent from other threads (the change
// watcher's synchronous callback), so that neither thread blocks the other.
void WaitServingSentMessages(HANDLE handle);
// True while the UI thread is inside such a wait (a callback then must not reload at once).
bool InsideBlockingWait();

class TImgThread {
 public:
  // The loader's settings are copied into the job's own loader.
  TImgThread(HWND panel, std::int32_t itemID, int imageWidth, int imageHeight,
             std::string path, const TPanelItems& itemList, bool thumbnailType,
             const imaging::TImgUtil& loader);
  ~TImgThread();
  TImgThread(const TImgThread&) = delete;
  TImgThread& operator=(const TImgThread&) = delete;

  void Resume();
  // Raises the priority to normal, tells the worker to terminate and waits for it.
  void TerminateAndWait();
  // The result once the worker has finished making it, else -1 with finished false.
  bool Finished() const { return done_.load(std::memory_order_acquire); }
  int Result() const { return result_; }
  const imaging::TImgUtil& Loader() const { return loader_; }

 private:
  static DWORD WINAPI Body(void* self);
  void Run();

  HWND panel_;
  const std::int32_t itemID_;
  const int imageWidth_, imageHeight_;
  const std::string path_;
  const TPanelItems& itemList_;
  const bool thumbnailType_;
  imaging::TImgUtil loader_;
  int result_ = -1;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> done_{false};
  ui::UniqueKernelHandle thread_;
};

// The panel side of the work manager: launches and ends workers for the core's queue.
class TImgThreads : public TThumbHost {
 public:
  TImgThreads(TPanelItems& items) : Queue(items, *this) {}
  ~TImgThreads() override { Queue.Stop(); }
  TThumbQueue Queue;

 protected:
  void EndWorker() override;
  std::optional<int> FinishedResult() override;
  std::unique_ptr<TImgThread> Worker;
};

}  // namespace thumbpanel
