#pragma once
// The thumbnail jobs and the one long-lived thread that runs them, one at a time, at
// below-normal priority with COM initialised. Each job is its own object with its own loader
// and result bitmap: created idle, handed to the worker once, finished after posting its
// result to the panel window.
#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/ImgUtils.h"
#include "thumbpanel/ThumbQueue.h"
#include "ui/Handles.h"

namespace thumbpanel {

// Waits for a handle while still serving messages sent from other threads, so that a thread
// that sends to this one is not blocked by the wait.
void WaitServingSentMessages(HANDLE handle);

class TImgThread {
 public:
  // The loader's settings are copied into the job's own loader.
  TImgThread(HWND panel, std::int32_t itemID, int imageWidth, int imageHeight, std::string path,
             bool thumbnailType, const imaging::TImgUtil& loader);
  TImgThread(const TImgThread&) = delete;
  TImgThread& operator=(const TImgThread&) = delete;

  // From now on the job makes nothing and posts nothing.
  void Terminate() { terminated_ = true; }
  // Whether the job has ended; then Result and Loader are its own and the worker is done
  // with the object.
  bool Finished() const { return done_.load(); }
  int Result() const { return result_; }
  const imaging::TImgUtil& Loader() const { return loader_; }

  // On the worker: makes the thumbnail and posts the result unless terminated.
  void Run();

 private:
  const HWND panel_;
  const std::int32_t itemID_;
  const int imageWidth_, imageHeight_;
  const std::string path_;
  const bool thumbnailType_;
  imaging::TImgUtil loader_;
  int result_ = -1;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> done_{false};
};

// The long-lived thread. Jobs handed to it run in the order they were handed.
class TThumbWorker {
 public:
  // Nothing when the system cannot start a thread.
  static std::unique_ptr<TThumbWorker> TryStart();
  ~TThumbWorker();  // ends the thread once its job has ended
  TThumbWorker(const TThumbWorker&) = delete;
  TThumbWorker& operator=(const TThumbWorker&) = delete;

  // False when too many jobs wait already (the manager hands two at most).
  bool Hand(TImgThread& job);
  // Takes back a handed job that has not started; true when it will never run.
  bool Withdraw(TImgThread& job);
  // Until the handed job has ended, at normal priority meanwhile, serving sent messages.
  void WaitFor(const TImgThread& job);

 private:
  TThumbWorker() = default;
  static DWORD WINAPI Body(void* self);
  void Loop();

  // Handing over costs the worker no system call while it is busy: it takes the next slot
  // as soon as the UI thread has published it, and sleeps on wake_ only when none is left.
  static constexpr unsigned kSlots = 4;
  std::atomic<TImgThread*> slots_[kSlots] = {};
  unsigned head_ = 0;                   // slots filled, UI thread only
  std::atomic<unsigned> published_{0};  // head_ as the worker may read it
  unsigned tail_ = 0;                   // slots taken, worker only
  std::atomic<bool> asleep_{false};     // the worker waits on wake_
  std::atomic<bool> waiting_{false};    // the UI thread waits on ended_
  std::atomic<bool> quit_{false};
  ui::UniqueKernelHandle wake_;   // auto-reset
  ui::UniqueKernelHandle ended_;  // auto-reset: a job ended while the UI thread waited
  ui::UniqueKernelHandle thread_;
};

// The panel side of the work manager: job objects for the core's queue, on one worker.
class TImgThreads : public TThumbHost {
 public:
  explicit TImgThreads(TPanelItems& items) : Queue(items, *this) {}
  ~TImgThreads() override { Queue.Stop(); }
  TThumbQueue Queue;

 protected:
  bool WithdrawJob(const TThumbJob& job) override;
  void EndJobs() override;
  std::optional<int> FinishedResult(const TThumbJob& job) override;
  void ReleaseJob(const TThumbJob& job) override;
  // Hands the job to the worker, started on first use; false when there is no worker.
  bool Hand(const TThumbJob& job, std::unique_ptr<TImgThread> work);
  TImgThread* Job(const TThumbJob& job);

 private:
  std::unique_ptr<TThumbWorker> worker_;
  std::vector<std::pair<std::uint32_t, std::unique_ptr<TImgThread>>> jobs_;  // by serial
};

}  // namespace thumbpanel
