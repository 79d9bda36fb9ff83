#pragma once
// The mouse-gesture state machine: a drag with the gesture button becomes a string of
// direction symbols ("→" "←" "↓" "↑", "□" for the wheel); on release the action registered
// for the string runs. The cursor, the clock and the mouse capture come from a platform
// object, so the machine runs without a window; TTTKMouseGestures drives it from a hook.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace viewers {

// A command that buttons, keys and gestures share.
struct TAction {
  std::string Caption;
  bool Enabled = true;
  std::function<void(void* Sender)> OnExecute;
};

struct TTKMouseGestureItem {
  TAction* Action = nullptr;  // not owned
  std::string Gesture;
};

struct GesturePoint {
  int x = 0, y = 0;
};

// What the machine needs from the system. Windows are opaque handles (null: none).
class GesturePlatform {
 public:
  virtual ~GesturePlatform() = default;
  virtual GesturePoint CursorPos() = 0;
  virtual unsigned TickCount() = 0;
  virtual bool MouseCaptured() = 0;
  virtual void SetCapture(void* window) = 0;
  virtual void ReleaseCapture() = 0;
};

enum class GestureMessage { Move, LeftDown, LeftUp, RightDown, RightUp, Wheel, Other };

inline constexpr const char* kGestureRight = "→";
inline constexpr const char* kGestureLeft = "←";
inline constexpr const char* kGestureDown = "↓";
inline constexpr const char* kGestureUp = "↑";
inline constexpr const char* kGestureWheel = "□";

class GestureRecognizer {
 public:
  explicit GestureRecognizer(GesturePlatform& platform);
  GestureRecognizer(const GestureRecognizer&) = delete;
  GestureRecognizer& operator=(const GestureRecognizer&) = delete;
  virtual ~GestureRecognizer() = default;

  bool Enabled = true;
  bool EnableMScroll = false;
  std::vector<std::string> GestureComponents;
  std::vector<std::string> MouseRightStopComponent;
  int GestureLength = 40;
  unsigned GestureStopRecognitionLength = 800;
  bool GestureNoDuplication = false;

  // Shared by every instance and reset to false by each construction.
  static bool MyLeftClick() { return myLeftClick_; }
  static void SetMyLeftClick(bool value) { myLeftClick_ = value; }
  static bool MyCancel() { return myCancel_; }
  static void SetMyCancel(bool value) { myCancel_ = value; }

  std::function<void(GestureRecognizer& Sender, bool& Cancel)> OnGestureStart;
  std::function<void(GestureRecognizer& Sender, const std::string& GestureStr,
                     const std::string& KeyGesture)>
      OnGestureProgress;
  std::function<void(GestureRecognizer& Sender)> OnGestureEnd;
  std::function<void(GestureRecognizer& Sender)> OnGestureExec;

  void AddGesture(const std::string& gesture, TAction* action);
  // One mouse message of the watched thread, over a window of the given class (window
  // null when there is none). True when the message is to be swallowed.
  bool HookMessage(GestureMessage msg, const std::string& className, void* window);
  // The pause timer's tick (every 10 ms while GestureStopRecognition is on).
  void PauseTimerTick();
  // The caption of the first item's action registered for gesture, when it is enabled.
  std::string Caption(const std::string& gesture) const;
  void Execute(const std::string& gesture);

  bool Tracking() const { return tracking_; }
  const std::string& GestureString() const { return gesture_; }

 private:
  void Start(void* window);
  void Move(void* window);
  void Stroke(const char* direction, void* window);
  void Finish();
  bool FinishSwallowing();
  void Progress();

  GesturePlatform& platform_;
  std::vector<std::unique_ptr<TTKMouseGestureItem>> items_;
  bool tracking_ = false;
  bool direction_ = false;
  std::string gesture_;
  std::string lastDirection_;
  GesturePoint ref_;
  unsigned strokeTime_ = 0;

  static inline bool myLeftClick_ = false;
  static inline bool myCancel_ = false;
};

}  // namespace viewers
