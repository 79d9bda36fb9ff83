#pragma once
// Geometry and scroll arithmetic of the image box: where the picture lies in the back
// buffer for each size type, which scroll bars it needs and how far a scroll request moves.
namespace imaging {

// Picture rectangle inside the back buffer: left, top, right, bottom.
struct PicRect {
  int left = -1, top = -1, right = -1, bottom = -1;
  bool None() const { return left == -1 && top == -1 && right == -1 && bottom == -1; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const PicRect&, const PicRect&) = default;
};

// ispStretch: the picture pw x ph fitted into the client cw x ch by whole-percent ratios,
// small pictures enlarged, centred along the side with room to spare. A picture or client
// with an empty side gives an empty rectangle at (0, 0).
PicRect StretchPlacement(int pw, int ph, int cw, int ch);

// ispImage: the picture at its own size, centred where it is smaller than the client.
PicRect ImagePlacement(int pw, int ph, int cw, int ch);

// Whether a bar is needed along one axis: the client extent (plus the other bar's
// thickness when that bar is shown, as it would be without it) is less than the picture's.
bool ScrollBarNeeded(int clientExtent, bool otherBarShown, int step, int pictureExtent);

// Keeps a scroll position when the client or picture changed: never past the last
// position (picture - client), never below 0.
int ClampScrollPos(int pos, int pictureExtent, int clientExtent);

// Scroll requests of WM_HSCROLL / WM_VSCROLL (the SB_ codes, same values).
enum ScrollRequest {
  srLineUp = 0,
  srLineDown = 1,
  srPageUp = 2,
  srPageDown = 3,
  srThumbPosition = 4,
  srThumbTrack = 5,
  srTop = 6,
  srBottom = 7,
  srEndScroll = 8,
};

// Delta of one scroll request along an axis with client extent c, position pos, the bar's
// range maximum max (picture extent - 1), the scroll step and the bar's track position,
// clamped so the position stays within 0 .. max - c + 1. Requests from srEndScroll on give 0.
int ScrollDelta(int request, int c, int pos, int max, int step, int trackPos);

}  // namespace imaging
