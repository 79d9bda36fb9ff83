#include "app/CrossGeometry.h"

#include <algorithm>

namespace app {

std::optional<CrossPanels> CrossLayout(int x, int y, int W, int H) {
  if (x < kCrossMargin || y < kCrossMargin || x > W - kCrossMargin || y > H - kCrossMargin)
    return std::nullopt;
  constexpr int t = kBarThickness;
  CrossPanels p;
  p.UL = {0, 0, x, y};
  p.UR = {x + t, 0, W - x - t, y};
  p.DL = {0, y + t, x, H - y - t};
  p.DR = {x + t, y + t, W - x - t, H - y - t};
  p.Left = {0, y, x, t};
  p.Up = {x, 0, t, y};
  p.Right = {x + t, y, W - x - t, t};
  p.Down = {x, y + t, t, H - y - t};
  p.Center = {x, y, t, t};
  return p;
}

CrossPanels InitialCrossPanels() {
  CrossPanels p;
  p.UL = {0, 0, 150, 123};
  p.UR = {155, 0, 267, 123};
  p.DL = {0, 128, 150, 123};
  p.DR = {155, 128, 267, 123};
  p.Center = {149, 123, 6, 6};
  p.Left = {0, 123, 150, 6};
  p.Up = {149, 0, 6, 123};
  p.Right = {155, 123, 267, 6};
  p.Down = {149, 128, 6, 123};
  return p;
}

Size FitClientSize(Size client, Size center, int topHeight, int bottomHeight) {
  const int needHeight = center.height + 2 * kCrossMargin + topHeight + bottomHeight;
  if (client.height <= needHeight) client.height = needHeight;
  const int needWidth = center.width + 2 * kCrossMargin;
  if (client.width <= needWidth) client.width = needWidth;
  return client;
}

Point PullBackCrossPoint(Point p, Size base) {
  if (p.x >= base.width - kCrossMargin) p.x = base.width - kCrossMargin;
  if (p.y >= base.height - kCrossMargin) p.y = base.height - kCrossMargin;
  return p;
}

int BottomAreaHeight(int tabRows, int tabRowHeight, int statusBarHeight) {
  return std::max(tabRows, 1) * tabRowHeight + statusBarHeight;
}

}  // namespace app
