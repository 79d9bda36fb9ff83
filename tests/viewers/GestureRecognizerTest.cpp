// The gesture state machine driven like the hook drives it, on a fake cursor and clock.
#include "viewers/GestureRecognizer.h"

#include <gtest/gtest.h>

namespace viewers {
namespace {

class FakePlatform : public GesturePlatform {
 public:
  GesturePoint cursor;
  unsigned tick = 1000;
  void* captured = nullptr;
  int releases = 0;
  GesturePoint CursorPos() override { return cursor; }
  unsigned TickCount() override { return tick; }
  bool MouseCaptured() override { return captured != nullptr; }
  void SetCapture(void* window) override { captured = window; }
  void ReleaseCapture() override {
    captured = nullptr;
    ++releases;
  }
};

int box;    // stands for a watched window
int other;  // a window of another class

class GestureTest : public ::testing::Test {
 protected:
  GestureTest() {
    g.GestureComponents = {"TImgBox"};
    for (const char* s : {kGestureLeft, kGestureRight, kGestureDown, kGestureUp}) {
      actions.push_back(std::make_unique<TAction>());
      TAction& a = *actions.back();
      a.Caption = std::string("do ") + s;
      a.OnExecute = [this, s](void*) { ran += s; };
      g.AddGesture(s, &a);
    }
    g.OnGestureEnd = [this](GestureRecognizer&) { ++ends; };
    g.OnGestureExec = [this](GestureRecognizer&) { ++execs; };
  }
  bool Press(int x, int y) {
    p.cursor = {x, y};
    return g.HookMessage(GestureMessage::RightDown, "TImgBox", &box);
  }
  void MoveTo(int x, int y, void* window = &box) {
    p.cursor = {x, y};
    g.HookMessage(GestureMessage::Move, window == &box ? "TImgBox" : "Edit", window);
  }
  bool Release(void* window = &box) {
    return g.HookMessage(GestureMessage::RightUp, window == &box ? "TImgBox" : "Edit", window);
  }

  FakePlatform p;
  GestureRecognizer g{p};
  std::vector<std::unique_ptr<TAction>> actions;
  std::string ran;
  int ends = 0, execs = 0;
};

TEST_F(GestureTest, ClickWithoutMovementPassesThroughAndRunsNothing) {
  EXPECT_FALSE(Press(100, 100));
  EXPECT_EQ(p.captured, &box);
  MoveTo(139, 100);  // below GestureLength 40
  EXPECT_FALSE(Release());
  EXPECT_EQ(ran, "");
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(execs, 0);
  EXPECT_EQ(p.captured, nullptr);
  EXPECT_FALSE(g.Tracking());
}

TEST_F(GestureTest, DiagonalMoveRecordsHorizontalFirstAndReleaseIsSwallowed) {
  Press(100, 100);
  MoveTo(150, 150);
  EXPECT_EQ(g.GestureString(), kGestureRight);
  EXPECT_TRUE(Release());
  EXPECT_EQ(ran, kGestureRight);
}

TEST_F(GestureTest, SmallStepsAddUpToOneStrokeAndContinuedMoveStaysOne) {
  g.GestureLength = 10;
  Press(0, 0);
  for (int x = 5; x <= 35; x += 5) MoveTo(x, 0);
  EXPECT_EQ(g.GestureString(), kGestureRight);
  Release();
  EXPECT_EQ(ran, kGestureRight);
}

TEST_F(GestureTest, SameDirectionAfterAPauseIsRecordedAgainUnlessNoDuplication) {
  Press(0, 0);
  MoveTo(50, 0);
  p.tick += 799;
  g.PauseTimerTick();
  MoveTo(100, 0);
  EXPECT_EQ(g.GestureString(), kGestureRight);
  p.tick += 800;
  g.PauseTimerTick();
  MoveTo(150, 0);
  EXPECT_EQ(g.GestureString(), std::string(kGestureRight) + kGestureRight);
  Release();

  g.GestureNoDuplication = true;
  Press(0, 0);
  MoveTo(50, 0);
  p.tick += 800;
  g.PauseTimerTick();
  MoveTo(100, 0);
  MoveTo(100, 50);
  EXPECT_EQ(g.GestureString(), std::string(kGestureRight) + kGestureDown);
}

TEST_F(GestureTest, ReleaseOverAnotherWindowStillExecutes) {
  Press(0, 0);
  MoveTo(0, -60, &other);
  EXPECT_TRUE(Release(&other));
  EXPECT_EQ(ran, kGestureUp);
}

TEST_F(GestureTest, PressOverAnUnwatchedWindowStartsNothing) {
  p.cursor = {0, 0};
  EXPECT_FALSE(g.HookMessage(GestureMessage::RightDown, "Edit", &other));
  MoveTo(100, 0);
  EXPECT_FALSE(Release());
  EXPECT_EQ(ran, "");
}

TEST_F(GestureTest, MyCancelLetsPressAndReleaseThroughAndConstructionResetsIt) {
  GestureRecognizer::SetMyCancel(true);
  bool started = false;
  g.OnGestureStart = [&](GestureRecognizer&, bool&) { started = true; };
  EXPECT_FALSE(Press(0, 0));
  EXPECT_TRUE(started);
  EXPECT_FALSE(g.Tracking());
  EXPECT_EQ(p.captured, nullptr);
  MoveTo(100, 0);
  EXPECT_FALSE(Release());
  EXPECT_EQ(ran, "");

  GestureRecognizer::SetMyLeftClick(true);
  FakePlatform p2;
  GestureRecognizer fresh(p2);
  EXPECT_FALSE(GestureRecognizer::MyCancel());
  EXPECT_FALSE(GestureRecognizer::MyLeftClick());
}

TEST_F(GestureTest, StartEventMayCancel) {
  g.OnGestureStart = [](GestureRecognizer&, bool& cancel) { cancel = true; };
  Press(0, 0);
  EXPECT_FALSE(g.Tracking());
}

TEST_F(GestureTest, UnregisteredStringRunsNothingButFiresEndAndExec) {
  Press(0, 0);
  MoveTo(50, 0);
  MoveTo(50, 50);
  EXPECT_EQ(g.Caption(g.GestureString()), "");
  EXPECT_TRUE(Release());
  EXPECT_EQ(ran, "");
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(execs, 1);
}

TEST_F(GestureTest, LeftButtonModeIgnoresTheRightButton) {
  GestureRecognizer::SetMyLeftClick(true);
  EXPECT_FALSE(Press(0, 0));
  EXPECT_FALSE(g.Tracking());
  p.cursor = {0, 0};
  g.HookMessage(GestureMessage::LeftDown, "TImgBox", &box);
  MoveTo(-50, 0);
  EXPECT_TRUE(g.HookMessage(GestureMessage::LeftUp, "TImgBox", &box));
  EXPECT_EQ(ran, kGestureLeft);
  GestureRecognizer::SetMyLeftClick(false);
}

TEST_F(GestureTest, StopComponentSwallowsThePressAndProgressReportsCaption) {
  g.MouseRightStopComponent = {"TImgBox"};
  std::string caption;
  g.OnGestureProgress = [&](GestureRecognizer&, const std::string&, const std::string& c) {
    caption = c;
  };
  EXPECT_TRUE(Press(0, 0));
  MoveTo(0, 50);
  EXPECT_EQ(caption, "do ↓");
  actions[2]->Enabled = false;
  EXPECT_EQ(g.Caption(kGestureDown), "");
  Release();
  EXPECT_EQ(ran, "");  // a disabled action does not run
}

TEST_F(GestureTest, DisabledRecogniserExecutesNothingAndWheelAppendsOnlyWhenAllowed) {
  Press(0, 0);
  g.HookMessage(GestureMessage::Wheel, "TImgBox", &box);
  EXPECT_EQ(g.GestureString(), "");
  g.EnableMScroll = true;
  g.HookMessage(GestureMessage::Wheel, "TImgBox", &box);
  g.HookMessage(GestureMessage::Wheel, "TImgBox", &box);
  EXPECT_EQ(g.GestureString(), std::string(kGestureWheel) + kGestureWheel);
  g.Enabled = false;
  MoveTo(100, 0);
  Release();
  EXPECT_EQ(execs, 0);
  EXPECT_EQ(ends, 0);
}

TEST(GestureSymbols, AreDoubleByteCodePage932) {
  EXPECT_EQ(std::string(kGestureRight), "\x81\xA8");
  EXPECT_EQ(std::string(kGestureLeft), "\x81\xA9");
  EXPECT_EQ(std::string(kGestureUp), "\x81\xAA");
  EXPECT_EQ(std::string(kGestureDown), "\x81\xAB");
  EXPECT_EQ(std::string(kGestureWheel), "\x81\xA0");
}

}  // namespace
}  // namespace viewers
