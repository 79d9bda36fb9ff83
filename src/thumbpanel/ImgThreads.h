#pragma once
// The thumbnail workers: one short-lived thread per thumbnail at below-normal priority,
// each with its own loader and result bitmap, posting its result to the panel window.
// Each job's thread is started by the job before it and waits for its job, so that the
// thread's start-up (slower than decoding a small photo under Wine) overlaps that job and
// costs the UI thread nothing.
#include <windows.h>

#include <atomic>
#include <functional>
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

// A thread that runs one job and ends. It starts at once at below-normal priority with COM
// initialised, then waits until Run hands it its job (or the destructor hands it none).
class JobThread {
 public:
  // Nothing when the system cannot start a thread.
  static std::unique_ptr<JobThread> TryStart();
  ~JobThread();  // ends the thread, unstarted or not, and waits for it
  JobThread(const JobThread&) = delete;
  JobThread& operator=(const JobThread&) = delete;

  void Run(std::function<void()> job);  // once
  void RaisePriority();
  // Until the thread has done its work and let go of COM, serving sent messages meanwhile.
  // Only the system's thread exit remains then, which need not be waited for.
  void Wait();

 private:
  JobThread() = default;
  static DWORD WINAPI Body(void* self);

  std::function<void()> job_;
  ui::UniqueKernelHandle go_, finished_, thread_;
  bool handed_ = false;
};

class TImgThread {
 public:
  // Created suspended on the given thread; the loader's settings are copied into the job's
  // own loader.
  TImgThread(std::unique_ptr<JobThread> thread, HWND panel, std::int32_t itemID,
             int imageWidth, int imageHeight, std::string path, const TPanelItems& itemList,
             bool thumbnailType, const imaging::TImgUtil& loader);
  ~TImgThread();
  TImgThread(const TImgThread&) = delete;
  TImgThread& operator=(const TImgThread&) = delete;

  void Resume();
  // Raises the priority to normal, tells the worker to terminate and waits for it.
  void TerminateAndWait();
  // The result once the worker has finished making it, else -1 with finished false.
  bool Finished() const { return done_.load(std::memory_order_acquire); }
  int Result() const { return result_; }
  // The thread its job started for the next job, if any; only once the job has ended
  // (Finished, or after TerminateAndWait).
  std::unique_ptr<JobThread> TakeSuccessor();
  const imaging::TImgUtil& Loader() const { return loader_; }

 private:
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
  std::unique_ptr<JobThread> successor_;  // written by the job before done_
  std::unique_ptr<JobThread> thread_;
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
  // The thread for the next job: the one the last job started, or a new one.
  std::unique_ptr<JobThread> NextJobThread();
  // Frees the previous worker, while the new job runs.
  void AfterLaunch();
  std::unique_ptr<TImgThread> Worker;

 private:
  std::unique_ptr<TImgThread> retired_;
  std::unique_ptr<JobThread> spare_;
};

}  // namespace thumbpanel
