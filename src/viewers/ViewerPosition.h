#pragma once
// Stepping arithmetic of the full-screen viewer: positions in the list of entries while the
// slideshow runs or stands, the position text, drags on the picture told apart from
// clicks, the slide interval, and the wheel's notch counting (shared with the spread
// viewer).
#include <string>

namespace viewers {

// Previous: while running 2 back (down to -1; the next tick shows the image before the
// current one), else 1 back (down to 0).
int PreviousPosition(int position, bool running);
// Next and the slideshow tick: 1 on, back to 0 at the end of the list.
int NextPosition(int position, int count);
// First: -1 while running (the next tick shows entry 0), else 0.
int FirstPosition(bool running);
// Whether position names an entry of a list of count entries.
bool ValidPosition(int position, int count);

// "(" position + 1 "/" count ")".
std::string PositionText(int position, int count);

enum class DragKind { Click, Down, Up, Right, Left };
// A release dx, dy pixels from the press: under 4 pixels on both axes a click; otherwise
// the direction of the move, exact diagonals counting as vertical.
DragKind ClassifyDrag(int dx, int dy);

// The track bar's hint and the slide interval in milliseconds for a position in seconds.
std::string SlideIntervalHint(int seconds);
unsigned SlideIntervalMs(int seconds);

// Wheel paging: threshold notches (the system's wheel-scroll-lines) turn one page.
class WheelPaging {
 public:
  enum Step { None, Previous, Next };
  void Reset(int threshold) {
    threshold_ = threshold;
    count_ = 0;
  }
  // One wheel event; a zero delta is ignored.
  Step Turn(int delta);

 private:
  int threshold_ = 3;
  int count_ = 0;
};

}  // namespace viewers
