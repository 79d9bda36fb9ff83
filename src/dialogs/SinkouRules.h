#pragma once
// The progress dialog's rules that need no window: animation clips, the height cuts and
// the step counter with its cancel flag.
namespace dialogs {

// Resource id of the shell's standard animation clip for kinds 1..8 (find folder, find
// file, find computer, copy files, copy file, recycle file, empty recycle bin, delete
// file); 0 for any other kind. Only the low seven bits of the kind count.
int SinkouClipResource(int kind);

struct SinkouLayout {
  int clientHeight;
  int barTop;
  int buttonTop;
  bool buttonEnabled;
};
// Without an animation the window loses 60 pixels and the bar and button move up by as
// much; a dialog that cannot be cancelled loses the button row (30 pixels) as well.
SinkouLayout LayoutSinkou(bool hasAnimation, bool cancellable);

class SinkouCounter {
 public:
  void Open(int minimum, int maximum);
  // One step: true to go on. Past the maximum or after a cancel the dialog ends.
  bool Step(bool advance);
  void Cancel() { cancelled_ = true; }
  int Position() const { return position_; }

 private:
  int position_ = 0;
  int maximum_ = 100;
  bool cancelled_ = false;
};

}  // namespace dialogs
