#include "thumbpanel/ImgThreads.h"

#include <algorithm>

#include "thumbpanel/PanelMessages.h"

namespace thumbpanel {

void WaitServingSentMessages(HANDLE handle) {
  for (;;) {
    const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + 1) break;  // signalled, or the wait itself failed
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // runs sent ones
  }
}

TImgThread::TImgThread(HWND panel, std::int32_t itemID, int imageWidth, int imageHeight,
                       std::string path, bool thumbnailType, const imaging::TImgUtil& loader)
    : panel_(panel),
      itemID_(itemID),
      imageWidth_(imageWidth),
      imageHeight_(imageHeight),
      path_(std::move(path)),
      thumbnailType_(thumbnailType) {
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
}

void TImgThread::Run() {
  int result = -1;
  if (!terminated_ && thumbnailType_) {
    try {
      result = loader_.GetImage(path_, imageWidth_, 0, imageHeight_);
    } catch (...) {
      result = -1;
    }
    if (terminated_) result = -1;
  }
  result_ = result;
  const HWND panel = panel_;
  const std::int32_t id = itemID_;
  const bool post = !terminated_;
  // The job's last use of itself: the UI thread may free it from here on.
  done_.store(true);
  if (post && IsWindow(panel))
    PostMessageA(panel, WM_IMGTHREAD_RESULT, static_cast<WPARAM>(id), result);
}

std::unique_ptr<TThumbWorker> TThumbWorker::TryStart() {
  std::unique_ptr<TThumbWorker> w(new TThumbWorker);
  w->wake_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  w->ended_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!w->wake_ || !w->ended_) return nullptr;
  DWORD id = 0;
  w->thread_.reset(CreateThread(nullptr, 0, &TThumbWorker::Body, w.get(), 0, &id));
  if (!w->thread_) return nullptr;
  SetThreadPriority(w->thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
  return w;
}

TThumbWorker::~TThumbWorker() {
  quit_ = true;
  SetEvent(wake_.get());
  WaitServingSentMessages(thread_.get());
}

bool TThumbWorker::Hand(TImgThread& job) {
  TImgThread* empty = nullptr;
  if (!slots_[head_ % kSlots].compare_exchange_strong(empty, &job)) return false;
  published_ = ++head_;
  if (asleep_) SetEvent(wake_.get());
  return true;
}

bool TThumbWorker::Withdraw(TImgThread& job) {
  for (std::atomic<TImgThread*>& slot : slots_) {
    TImgThread* expected = &job;
    if (slot.compare_exchange_strong(expected, nullptr)) return true;
  }
  return false;
}

void TThumbWorker::WaitFor(const TImgThread& job) {
  if (job.Finished()) return;
  SetThreadPriority(thread_.get(), THREAD_PRIORITY_NORMAL);
  waiting_ = true;
  while (!job.Finished()) WaitServingSentMessages(ended_.get());
  waiting_ = false;
  SetThreadPriority(thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
}

DWORD WINAPI TThumbWorker::Body(void* self) {
  ui::ComScope com;
  static_cast<TThumbWorker*>(self)->Loop();
  return 0;
}

void TThumbWorker::Loop() {
  while (!quit_) {
    if (tail_ == published_) {
      // Either the check below sees a new slot, or Hand sees asleep_ and wakes the worker.
      asleep_ = true;
      if (tail_ == published_ && !quit_) WaitForSingleObject(wake_.get(), INFINITE);
      asleep_ = false;
      continue;
    }
    // A slot emptied by Withdraw is passed over.
    if (TImgThread* job = slots_[tail_++ % kSlots].exchange(nullptr)) {
      job->Run();
      if (waiting_) SetEvent(ended_.get());
    }
  }
}

bool TImgThreads::Hand(const TThumbJob& job, std::unique_ptr<TImgThread> work) {
  if (!worker_) worker_ = TThumbWorker::TryStart();
  if (!worker_ || !worker_->Hand(*work)) return false;
  jobs_.emplace_back(job.Serial, std::move(work));
  return true;
}

TImgThread* TImgThreads::Job(const TThumbJob& job) {
  const auto it = std::find_if(jobs_.begin(), jobs_.end(),
                               [&](const auto& j) { return j.first == job.Serial; });
  return it == jobs_.end() ? nullptr : it->second.get();
}

bool TImgThreads::WithdrawJob(const TThumbJob& job) {
  TImgThread* work = Job(job);
  return work && worker_->Withdraw(*work);
}

void TImgThreads::EndJobs() {
  std::vector<std::pair<std::uint32_t, std::unique_ptr<TImgThread>>> ending;
  ending.swap(jobs_);
  std::vector<TImgThread*> running;
  for (auto& [serial, work] : ending) {
    if (worker_->Withdraw(*work)) continue;
    work->Terminate();
    running.push_back(work.get());
  }
  for (TImgThread* work : running) worker_->WaitFor(*work);
}

std::optional<int> TImgThreads::FinishedResult(const TThumbJob& job) {
  const TImgThread* work = Job(job);
  if (!work || !work->Finished()) return std::nullopt;
  return work->Result();
}

void TImgThreads::ReleaseJob(const TThumbJob& job) {
  std::erase_if(jobs_, [&](const auto& j) { return j.first == job.Serial; });
}

}  // namespace thumbpanel
