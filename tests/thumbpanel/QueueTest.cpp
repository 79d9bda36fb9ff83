#include "thumbpanel/ThumbQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace thumbpanel;

namespace {

// A fake worker: handed jobs run in order, the first unfinished one is running; a job
// finishes when the test says so.
struct Host : TThumbHost {
  struct Handed {
    TThumbJob job;
    std::optional<int> result;
  };
  void ImageLoad(int) override {
    if (onImageLoad) onImageLoad();
  }
  bool LaunchJob(const TThumbJob& job, int index) override {
    if (!canLaunch) return false;
    EXPECT_EQ(items->operator[](index).ItemID, job.ItemID);
    handed.push_back({job, std::nullopt});
    return true;
  }
  bool WithdrawJob(const TThumbJob& job) override {
    const auto running = Running();
    const auto it = Find(job);
    if (it == handed.end() || running == handed.end() || it <= running) return false;
    handed.erase(it);
    return true;
  }
  void EndJobs() override {
    ++ended;
    if (onEndJobs) onEndJobs();
    handed.clear();
  }
  std::optional<int> FinishedResult(const TThumbJob& job) override {
    const auto it = Find(job);
    return it == handed.end() ? std::nullopt : it->result;
  }
  void ApplyThumbnail(const TThumbJob&, int index) override { applied.push_back(index); }
  void ReleaseJob(const TThumbJob& job) override {
    if (const auto it = Find(job); it != handed.end()) handed.erase(it);
  }
  void ImageLoaded(int) override {
    ++loadedEvents;
    if (onImageLoaded) onImageLoaded();
  }

  std::vector<Handed>::iterator Find(const TThumbJob& job) {
    return std::find_if(handed.begin(), handed.end(),
                        [&](const Handed& h) { return h.job == job; });
  }
  std::vector<Handed>::iterator Running() {
    return std::find_if(handed.begin(), handed.end(), [](const Handed& h) { return !h.result; });
  }

  TPanelItems* items = nullptr;
  std::vector<Handed> handed;
  std::vector<int> ran, applied;
  bool canLaunch = true;
  int ended = 0, loadedEvents = 0;
  std::function<void()> onImageLoad, onImageLoaded, onEndJobs;
};

struct Fixture {
  explicit Fixture(int n) : q(items, host) {
    host.items = &items;
    for (int i = 0; i < n; ++i) items.Add();
  }
  // The running job finishes with code and its message is handled.
  int Finish(int code = 0) {
    const auto running = host.Running();
    EXPECT_NE(running, host.handed.end());
    if (running == host.handed.end()) return -2;
    running->result = code;
    host.ran.push_back(running->job.ItemID);
    return q.HandleResult(running->job.ItemID);
  }
  void FinishAll() {
    while (q.Busy()) Finish();
  }
  TPanelItems items;
  Host host;
  TThumbQueue q;
};

using V = std::vector<int>;

}  // namespace

TEST(ThumbQueue, LookAheadServesTopLeftThenScreenThenEnumerationOrder) {
  Fixture f(10);
  // Enumeration order 0..9 (the display is sorted differently: 7 6 5 4 on screen).
  for (int id = 0; id < 10; ++id) f.q.Enqueue(id, false);
  f.q.RequestAndStart(9, true);  // a worker is busy on 9 while the screen paints
  for (int id : {4, 5, 6, 7}) f.q.RequestAndStart(id, true);  // last slot first
  f.FinishAll();
  EXPECT_EQ(f.host.ran, (V{9, 7, 6, 5, 4, 0, 1, 2, 3, 8}));
  EXPECT_FALSE(f.q.Busy());
}

TEST(ThumbQueue, WithoutLookAheadTheScreenIsFirstComeFirstServed) {
  Fixture f(10);
  for (int id : {2, 3, 4, 5}) f.q.RequestAndStart(id, false);  // ascending slots
  f.q.Request(4, false);  // already queued: moved to the end, not queued twice
  EXPECT_EQ(f.q.Queue().size(), 3u);
  f.FinishAll();
  EXPECT_EQ(f.host.ran, (V{2, 4, 3, 5}));  // 3, handed on behind 2, was taken back for 4
}

TEST(ThumbQueue, LoadedAndVanishedItemsAreSkipped) {
  Fixture f(4);
  f.items[1].Loaded = true;
  for (int id : {0, 1, 2, 77}) f.q.Enqueue(id, false);
  f.q.Start();
  f.FinishAll();
  EXPECT_EQ(f.host.ran, (V{0, 2}));
}

TEST(ThumbQueue, FailedThumbnailFallsBackToTheIcon) {
  Fixture f(2);
  f.q.RequestAndStart(0, true);
  EXPECT_EQ(f.Finish(-1), 0);
  EXPECT_EQ(f.items[0].ImageType, imaging::iitNone);
  EXPECT_TRUE(f.items[0].Loaded);  // the attempt is over: never tried again
  EXPECT_TRUE(f.host.applied.empty());
  EXPECT_EQ(f.host.loadedEvents, 1);
  f.q.RequestAndStart(1, true);
  EXPECT_EQ(f.Finish(0), 1);
  EXPECT_TRUE(f.items[1].Loaded);
  EXPECT_EQ(f.host.applied, (V{1}));
}

TEST(ThumbQueue, LookAheadJobsOfIconFilesLeaveThemTheirOwnIcons) {
  // Icons, cursors and programs are their own icons; their look-ahead jobs make nothing.
  Fixture f(4);
  const imaging::TImageType types[] = {imaging::iitIco, imaging::iitCur, imaging::iitExe,
                                       imaging::iitJpeg};
  for (int id = 0; id < 4; ++id) {
    f.items[id].ImageType = types[id];
    f.q.Enqueue(id, false);
  }
  f.q.Start();
  for (int id = 0; id < 4; ++id) f.Finish(-1);
  for (int id = 0; id < 3; ++id) EXPECT_EQ(f.items[id].ImageType, types[id]) << id;
  EXPECT_EQ(f.items[3].ImageType, imaging::iitNone);  // a picture that failed: its type's icon
  for (int id = 0; id < 4; ++id) EXPECT_TRUE(f.items[id].Loaded) << id;
}

TEST(ThumbQueue, FailedItemRequestedAgainWhileItsJobRanIsNotRetried) {
  Fixture f(1);
  f.q.RequestAndStart(0, true);
  f.q.Request(0, true);  // painting asks again before the result arrives
  EXPECT_EQ(f.Finish(-1), 0);
  EXPECT_FALSE(f.q.Busy());
  EXPECT_EQ(f.host.ran, (V{0}));
}

TEST(ThumbQueue, LateResultNeverReachesANewFolder) {
  Fixture f(3);
  f.q.RequestAndStart(1, true);
  f.host.Running()->result = 0;  // the worker posted its message...
  f.q.Stop();                    // ...but the folder changed before it was handled
  EXPECT_FALSE(f.q.Busy());
  EXPECT_TRUE(f.q.Queue().empty());
  f.items.Clear();
  for (int i = 0; i < 3; ++i) f.items.Add();  // IDs 3, 4, 5
  f.q.RequestAndStart(3, true);
  EXPECT_EQ(f.q.HandleResult(1), -1);  // stale
  EXPECT_TRUE(f.host.applied.empty());
  EXPECT_TRUE(f.q.Busy());
  EXPECT_EQ(f.Finish(), 0);
}

TEST(ThumbQueue, LateResultOfAStoppedJobWaitsForTheNewJobOfTheSameItem) {
  Fixture f(2);
  f.q.RequestAndStart(0, true);
  f.host.Running()->result = 0;
  f.q.Stop();  // items kept (a view reset in file mode)
  f.q.RequestAndStart(0, true);
  // The old message arrives while the new job for the same item still runs.
  EXPECT_EQ(f.q.HandleResult(0), -1);
  EXPECT_FALSE(f.items[0].Loaded);
  EXPECT_EQ(f.Finish(), 0);  // the new job's own message applies its own bitmap
  EXPECT_EQ(f.host.applied, (V{0}));
}

TEST(ThumbQueue, TheNextJobWaitsBehindTheRunningOneAndAScrollTakesItBack) {
  Fixture f(6);
  for (int id : {0, 1, 2}) f.q.RequestAndStart(id, false);
  ASSERT_TRUE(f.q.NextJob());
  EXPECT_EQ(f.q.CurrentJob()->ItemID, 0);
  EXPECT_EQ(f.q.NextJob()->ItemID, 1);  // handed on: the worker goes on without the UI
  f.q.ClearQueue();                     // a scroll without look-ahead
  EXPECT_FALSE(f.q.NextJob());
  f.q.RequestAndStart(5, false);
  f.FinishAll();
  EXPECT_EQ(f.host.ran, (V{0, 5}));  // the running job completes; 1 and 2 never run
  EXPECT_TRUE(f.host.handed.empty());
}

TEST(ThumbQueue, AskingForTheHandedItemAgainDoesNotRunItTwice) {
  Fixture f(3);
  for (int id : {0, 1}) f.q.RequestAndStart(id, true);
  f.q.RequestAndStart(1, true);  // handed behind 0, painted again
  f.q.RequestAndStart(0, true);  // running, painted again
  f.FinishAll();
  EXPECT_EQ(f.host.ran, (V{0, 1}));
}

TEST(ThumbQueue, AStopCalledAgainWhileItWaitsEndsTheJobsOnce) {
  Fixture f(3);
  for (int id : {0, 1, 2}) f.q.RequestAndStart(id, false);
  // While the UI thread waits for the worker it serves sent messages, which may stop again.
  f.host.onEndJobs = [&] {
    f.q.Stop();
    f.q.RequestAndStart(2, true);
  };
  f.q.Stop();
  EXPECT_EQ(f.host.ended, 1);
  EXPECT_FALSE(f.q.Busy());
  EXPECT_TRUE(f.host.handed.empty());
}

TEST(ThumbQueue, OwnerEventsThatChangeTheListMidQueueLeaveNoStaleIndex) {
  Fixture f(4);
  // OnImageLoad re-sorts the list: the job is launched with the item's new position (the
  // host checks it) and runs.
  f.host.onImageLoad = [&] {
    f.host.onImageLoad = nullptr;
    f.items.Sort([](const TPanelItem& a, const TPanelItem& b) { return b.ItemID - a.ItemID; });
  };
  f.q.RequestAndStart(1, true);
  ASSERT_EQ(f.q.CurrentJob()->ItemID, 1);
  // OnImageLoaded reloads the folder: the finished item is gone.
  f.host.onImageLoaded = [&] {
    f.q.Stop();
    f.items.Clear();
    f.items.Add();
  };
  EXPECT_EQ(f.Finish(), -1);
  // OnImageLoad stops all work: nothing is launched and the manager is idle.
  f.host.onImageLoaded = nullptr;
  f.host.onImageLoad = [&] { f.q.Stop(); };
  f.q.RequestAndStart(f.items[0].ItemID, true);
  EXPECT_FALSE(f.q.Busy());
  EXPECT_TRUE(f.host.handed.empty());
}

TEST(ThumbQueue, WithoutAWorkerTheRequestWaitsForTheNextStart) {
  Fixture f(2);
  f.host.canLaunch = false;  // the system gives no thread
  f.q.RequestAndStart(0, true);
  EXPECT_FALSE(f.q.Busy());
  EXPECT_EQ(f.q.Queue().size(), 1u);
  f.host.canLaunch = true;
  f.q.Resume();
  f.FinishAll();
  EXPECT_EQ(f.host.ran, (V{0}));
}
