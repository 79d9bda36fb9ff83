// The thumbnail jobs on the long-lived worker, without a panel.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "imaging/CustomLoader.h"
#include "thumbpanel/ImgThreads.h"
#include "thumbpanel/PanelMessages.h"

namespace thumbpanel {
namespace {

class Worker : public ::testing::Test {
 protected:
  Worker() {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // this thread gets a queue
    window = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  ~Worker() override { DestroyWindow(window); }
  std::unique_ptr<TImgThread> Job(std::int32_t id, const char* path = "C:\\no such\\x.jpg") {
    return std::make_unique<TImgThread>(window, id, 32, 32, path, true, loader);
  }
  // The results posted within ms, as (ItemID, code).
  std::vector<std::pair<int, int>> Results(DWORD ms = 2000, size_t want = 1) {
    std::vector<std::pair<int, int>> r;
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms && r.size() < want) {
      while (PeekMessageA(&msg, window, WM_IMGTHREAD_RESULT, WM_IMGTHREAD_RESULT, PM_REMOVE))
        r.emplace_back(int(msg.wParam), int(msg.lParam));
      Sleep(5);
    }
    return r;
  }
  HWND window = nullptr;
  imaging::TImgUtil loader;
};

TEST_F(Worker, RunsHandedJobsInOrderAndEachPostsItsResult) {
  std::unique_ptr<TThumbWorker> w = TThumbWorker::TryStart();
  ASSERT_TRUE(w);
  std::vector<std::unique_ptr<TImgThread>> jobs;
  for (int id = 0; id < 6; ++id) {
    jobs.push_back(Job(id));
    ASSERT_TRUE(w->Hand(*jobs.back()));
    if (id % 2) {  // the manager keeps two handed at most
      w->WaitFor(*jobs[id - 1]);
      w->WaitFor(*jobs[id]);
    }
  }
  const auto r = Results(2000, 6);
  ASSERT_EQ(r.size(), 6u);
  for (int id = 0; id < 6; ++id) {
    EXPECT_EQ(r[id], std::make_pair(id, 1));  // the file does not exist
    EXPECT_TRUE(jobs[id]->Finished());
    EXPECT_EQ(jobs[id]->Result(), 1);
  }
}

// A loader that holds each job until the test lets it go.
struct HeldLoader : imaging::TImgCustom {
  HeldLoader() : go(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  bool CanLoad(const std::string&) override { return true; }
  bool LoadFile(const std::string&, base::Bitmap& b) override {
    ++calls;
    WaitForSingleObject(go.get(), 10000);
    b = base::Bitmap(4, 4);
    return true;
  }
  ui::UniqueKernelHandle go;
  std::atomic<int> calls{0};
};

TEST_F(Worker, AWithdrawnJobNeverRunsAndATerminatedOnePostsNothing) {
  HeldLoader held;
  loader.CustomLoader = &held;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "held.pic";
  CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  std::unique_ptr<TThumbWorker> w = TThumbWorker::TryStart();
  ASSERT_TRUE(w);
  std::unique_ptr<TImgThread> first = Job(1, path.c_str()), second = Job(2, path.c_str()),
                              third = Job(3, path.c_str());
  ASSERT_TRUE(w->Hand(*first));
  ASSERT_TRUE(w->Hand(*second));
  ASSERT_TRUE(w->Hand(*third));
  while (held.calls == 0) Sleep(1);  // the first job runs and is held
  EXPECT_TRUE(w->Withdraw(*third));
  EXPECT_FALSE(w->Withdraw(*first));
  second->Terminate();
  SetEvent(held.go.get());
  w->WaitFor(*second);
  EXPECT_TRUE(first->Finished());
  EXPECT_EQ(first->Result(), 0);
  EXPECT_EQ(first->Loader().Bitmap.Width(), 4);
  EXPECT_TRUE(second->Finished());
  EXPECT_EQ(second->Result(), -1);
  EXPECT_EQ(held.calls, 1);
  EXPECT_EQ(Results(300, 3), (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_FALSE(third->Finished());
  DeleteFileA(path.c_str());
}

TEST_F(Worker, EndsWithNothingHanded) {
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(TThumbWorker::TryStart());
}

}  // namespace
}  // namespace thumbpanel
