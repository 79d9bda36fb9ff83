#include "ui/TrackBar.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

void TrackBar::CreateTrackBar(HWND parent, int x, int y, int width, int height) {
  CreateControl(TRACKBAR_CLASSA, 0, WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_AUTOTICKS, x, y, width,
                height, parent);
  last_ = Position();
}

void TrackBar::SetRange(int min, int max) {
  SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min);
  SendMessageA(Handle(), TBM_SETRANGEMAX, TRUE, max);
  SetPosition(Position());
}

int TrackBar::Min() const { return int(SendMessageA(Handle(), TBM_GETRANGEMIN, 0, 0)); }
int TrackBar::Max() const { return int(SendMessageA(Handle(), TBM_GETRANGEMAX, 0, 0)); }

void TrackBar::SetPosition(int position) {
  position = std::clamp(position, Min(), std::max(Min(), Max()));
  SendMessageA(Handle(), TBM_SETPOS, TRUE, position);
  if (position == last_) return;
  last_ = position;
  if (OnChange) OnChange(*this);
}

int TrackBar::Position() const { return int(SendMessageA(Handle(), TBM_GETPOS, 0, 0)); }

void TrackBar::SetPageSize(int size) { SendMessageA(Handle(), TBM_SETPAGESIZE, 0, size); }

void TrackBar::SetTickFrequency(int frequency) {
  SendMessageA(Handle(), TBM_SETTICFREQ, frequency, 0);
}

bool TrackBar::Reflect(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg != WM_HSCROLL && msg != WM_VSCROLL) return false;
  const int position = Position();
  if (position != last_) {
    last_ = position;
    if (OnChange) OnChange(*this);
  }
  result = 0;
  return true;
}

}  // namespace ui
