// The job threads and workers on their own, without a panel.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "thumbpanel/ImgThreads.h"

namespace thumbpanel {
namespace {

TEST(JobThread, RunsItsJobOnItsOwnThreadAndWaitingEndsAfterIt) {
  std::atomic<DWORD> jobThreadId{0};
  std::atomic<bool> done{false};
  {
    std::unique_ptr<JobThread> t = JobThread::TryStart();
    ASSERT_TRUE(t);
    t->Run([&] {
      Sleep(50);
      jobThreadId = GetCurrentThreadId();
      done = true;
    });
    t->Wait();
    EXPECT_TRUE(done);
  }
  EXPECT_NE(jobThreadId, GetCurrentThreadId());
}

TEST(JobThread, FreeingAThreadThatGotNoJobEndsIt) {
  const DWORD start = GetTickCount();
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(JobThread::TryStart());
  EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST(ImgThread, AWorkerNeverResumedPostsNothing) {
  TPanelItems items;
  items.Add();
  imaging::TImgUtil loader;
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // this thread gets a queue
  const HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                    nullptr);
  {
    TImgThread worker(JobThread::TryStart(), window, items[0].ItemID, 32, 32, "C:\\x.jpg",
                      items, true, loader);
    worker.TerminateAndWait();
    EXPECT_FALSE(worker.Finished());
    EXPECT_EQ(worker.Result(), -1);
    EXPECT_FALSE(worker.TakeSuccessor());
  }
  Sleep(50);
  EXPECT_FALSE(PeekMessageA(&msg, window, WM_IMGTHREAD_RESULT, WM_IMGTHREAD_RESULT, PM_REMOVE));
  DestroyWindow(window);
}

TEST(ImgThread, AResumedWorkerPostsItsResultAndLeavesAThreadForTheNextJob) {
  TPanelItems items;
  items.Add();
  imaging::TImgUtil loader;
  const HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                    nullptr);
  TImgThread worker(JobThread::TryStart(), window, items[0].ItemID, 32, 32,
                    "C:\\no such folder\\x.jpg", items, true, loader);
  worker.Resume();
  MSG msg;
  const DWORD start = GetTickCount();
  while (!PeekMessageA(&msg, window, WM_IMGTHREAD_RESULT, WM_IMGTHREAD_RESULT, PM_REMOVE)) {
    ASSERT_LT(GetTickCount() - start, 5000u);
    Sleep(5);
  }
  EXPECT_EQ(msg.wParam, WPARAM(items[0].ItemID));
  EXPECT_EQ(msg.lParam, 1);  // the file does not exist
  EXPECT_TRUE(worker.Finished());
  EXPECT_EQ(worker.Result(), 1);
  // The job started the next job's thread, which waits for a job of its own.
  std::unique_ptr<JobThread> next = worker.TakeSuccessor();
  ASSERT_TRUE(next);
  std::atomic<bool> ran{false};
  next->Run([&] { ran = true; });
  next->Wait();
  EXPECT_TRUE(ran);
  DestroyWindow(window);
}

}  // namespace
}  // namespace thumbpanel
