#pragma once
// Geometry of the main window's cross bar: four panes around two 5-pixel bars that meet
// in a small square whose top-left corner is the cross point.
#include <optional>

namespace app {

struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

struct CrossPanels {
  Box UL, UR, DL, DR;         // the panes
  Box Left, Up, Right, Down;  // the bar arms
  Box Center;                 // the square where the bars cross
  friend bool operator==(const CrossPanels&, const CrossPanels&) = default;
};

constexpr int kBarThickness = 5;
constexpr int kCrossMargin = 30;

// Panels for cross point (x, y) in a base area of width x height; nothing when the
// point is closer than 30 px to an edge (30 itself is allowed).
std::optional<CrossPanels> CrossLayout(int x, int y, int width, int height);

// The geometry the panels have before the first allowed layout.
CrossPanels InitialCrossPanels();

struct Size {
  int width = 0, height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};
struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// The window's client size enlarged to the minimum the cross bar needs: the centre square
// plus 30 px on each side, plus the toolbar panel and the bottom area in height.
Size FitClientSize(Size client, Size center, int topHeight, int bottomHeight);

// The cross point pulled back from the right and bottom edges of the base area.
Point PullBackCrossPoint(Point p, Size base);

// Height of the bottom area: tab rows (at least one) times the row height, plus the
// status bar.
int BottomAreaHeight(int tabRows, int tabRowHeight, int statusBarHeight);

}  // namespace app
