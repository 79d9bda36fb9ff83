#include "thumbpanel/ThumbQueue.h"

#include <gtest/gtest.h>

using namespace thumbpanel;

namespace {

// Records launched jobs; a job finishes when the test says so.
struct Host : TThumbHost {
  void ImageLoad(int) override {}
  void LaunchJob(const TThumbJob& job, int) override {
    launched.push_back(job.ItemID);
    running = true;
    result.reset();
  }
  void EndWorker() override { ++ended; running = false; }
  std::optional<int> FinishedResult() override { return result; }
  void ApplyThumbnail(int index) override { applied.push_back(index); }
  void ImageLoaded(int) override { ++loadedEvents; }
  std::vector<int> launched, applied;
  std::optional<int> result;
  bool running = false;
  int ended = 0, loadedEvents = 0;
};

struct Fixture {
  explicit Fixture(int n) : q(items, host) {
    for (int i = 0; i < n; ++i) items.Add();
  }
  // The worker finishes with code and its message is handled.
  int Finish(int code = 0) {
    host.result = code;
    return q.HandleResult(q.CurrentJob().value().ItemID);
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
  while (f.q.Busy()) f.Finish();
  EXPECT_EQ(f.host.launched, (V{9, 7, 6, 5, 4, 0, 1, 2, 3, 8}));
  EXPECT_FALSE(f.q.Busy());
}

TEST(ThumbQueue, WithoutLookAheadTheScreenIsFirstComeFirstServed) {
  Fixture f(10);
  for (int id : {2, 3, 4, 5}) f.q.RequestAndStart(id, false);  // ascending slots
  f.q.Request(4, false);  // already queued: moved to the end, not queued twice
  EXPECT_EQ(f.q.Queue().size(), 3u);
  while (f.q.Busy()) f.Finish();
  EXPECT_EQ(f.host.launched, (V{2, 4, 3, 5}));
}

TEST(ThumbQueue, LoadedAndVanishedItemsAreSkipped) {
  Fixture f(4);
  f.items[1].Loaded = true;
  for (int id : {0, 1, 2, 77}) f.q.Enqueue(id, false);
  f.q.Start();
  while (f.q.Busy()) f.Finish();
  EXPECT_EQ(f.host.launched, (V{0, 2}));
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

TEST(ThumbQueue, FailedItemRequestedAgainWhileItsJobRanIsNotRetried) {
  Fixture f(1);
  f.q.RequestAndStart(0, true);
  f.q.Request(0, true);  // painting asks again before the result arrives
  EXPECT_EQ(f.Finish(-1), 0);
  EXPECT_FALSE(f.q.Busy());
  EXPECT_EQ(f.host.launched, (V{0}));
}

TEST(ThumbQueue, LateResultNeverReachesANewFolder) {
  Fixture f(3);
  f.q.RequestAndStart(1, true);
  f.host.result = 0;   // the worker posted its message...
  f.q.Stop();          // ...but the folder changed before it was handled
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
  f.host.result = 0;
  f.q.Stop();  // items kept (a view reset in file mode)
  f.q.RequestAndStart(0, true);
  // The old message arrives while the new job for the same item still runs.
  EXPECT_EQ(f.q.HandleResult(0), -1);
  EXPECT_FALSE(f.items[0].Loaded);
  EXPECT_EQ(f.Finish(), 0);  // the new job's own message applies its own bitmap
  EXPECT_EQ(f.host.applied, (V{0}));
}
