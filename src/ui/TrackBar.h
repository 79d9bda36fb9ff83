#pragma once
// A horizontal track bar with a range, a page step, ticks and OnChange on every move.
#include <windows.h>

#include <functional>

#include "ui/Window.h"

namespace ui {

class TrackBar : public Window {
 public:
  void CreateTrackBar(HWND parent, int x, int y, int width, int height);

  void SetRange(int min, int max);
  int Min() const;
  int Max() const;
  // Clamped into the range; OnChange fires when the position really changes.
  void SetPosition(int position);
  int Position() const;
  void SetPageSize(int size);
  void SetTickFrequency(int frequency);

  std::function<void(TrackBar& sender)> OnChange;

 protected:
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  int last_ = 0;
};

}  // namespace ui
