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

std::unique_ptr<JobThread> JobThread::TryStart() {
  std::unique_ptr<JobThread> t(new JobThread);
  t->go_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  t->finished_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!t->go_ || !t->finished_) return nullptr;
  DWORD id = 0;
  t->thread_.reset(CreateThread(nullptr, 0, &JobThread::Body, t.get(), 0, &id));
  if (!t->thread_) return nullptr;
  SetThreadPriority(t->thread_.get(), THREAD_PRIORITY_BELOW_NORMAL);
  return t;
}

JobThread::~JobThread() {
  if (!thread_) return;  // the system refused the thread
  if (!handed_) Run(nullptr);
  Wait();
}

void JobThread::Run(std::function<void()> job) {
  handed_ = true;
  job_ = std::move(job);
  SetEvent(go_.get());
}

void JobThread::RaisePriority() { SetThreadPriority(thread_.get(), THREAD_PRIORITY_NORMAL); }

void JobThread::Wait() { WaitServingSentMessages(finished_.get()); }

DWORD WINAPI JobThread::Body(void* self) {
  JobThread& t = *static_cast<JobThread*>(self);
  {
    ui::ComScope com;
    WaitForSingleObject(t.go_.get(), INFINITE);
    if (t.job_) {
      try {
        t.job_();
      } catch (...) {
      }
    }
  }
  // The last use of the object: its owner may free it as soon as this is set.
  SetEvent(t.finished_.get());
  return 0;
}

TImgThread::TImgThread(std::unique_ptr<JobThread> thread, HWND panel, std::int32_t itemID,
                       int imageWidth, int imageHeight, std::string path,
                       const TPanelItems& itemList, bool thumbnailType,
                       const imaging::TImgUtil& loader)
    : panel_(panel), itemID_(itemID), imageWidth_(imageWidth), imageHeight_(imageHeight),
      path_(std::move(path)), itemList_(itemList), thumbnailType_(thumbnailType),
      thread_(std::move(thread)) {
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

TImgThread::~TImgThread() { TerminateAndWait(); }

void TImgThread::Resume() {
  thread_->Run([this] { Run(); });
}

void TImgThread::TerminateAndWait() {
  if (!thread_) return;
  if (!Finished()) thread_->RaisePriority();
  terminated_ = true;
  thread_.reset();  // a worker never resumed runs no job
}

std::unique_ptr<JobThread> TImgThread::TakeSuccessor() { return std::move(successor_); }

void TImgThread::Run() {
  if (terminated_) return;
  successor_ = JobThread::TryStart();
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

void TImgThreads::EndWorker() {
  retired_.reset();
  // A worker whose job is over is freed after the next launch, off the path between jobs.
  if (!Worker) return;
  const bool finished = Worker->Finished();
  if (!finished) Worker->TerminateAndWait();
  if (!spare_) spare_ = Worker->TakeSuccessor();
  if (finished)
    retired_ = std::move(Worker);
  else
    Worker.reset();
}

void TImgThreads::AfterLaunch() { retired_.reset(); }

std::unique_ptr<JobThread> TImgThreads::NextJobThread() {
  std::unique_ptr<JobThread> t = spare_ ? std::move(spare_) : JobThread::TryStart();
  if (!t) throw Exception("Cannot start a thumbnail worker");
  return t;
}

std::optional<int> TImgThreads::FinishedResult() {
  if (!Worker || !Worker->Finished()) return std::nullopt;
  return Worker->Result();
}

}  // namespace thumbpanel
