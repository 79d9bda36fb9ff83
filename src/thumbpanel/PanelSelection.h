#pragma once
// Selection model of the panel and its navigation and command keys, over list positions.
// Drawing and scrolling are left to callbacks; shell commands are returned to the caller.
#include <functional>
#include <vector>

#include "thumbpanel/PanelItems.h"
#include "thumbpanel/PanelLayout.h"
#include "thumbpanel/PanelTypes.h"

namespace thumbpanel {

// The keys, then the mouse buttons held (drops report both).
enum TShiftFlag : int { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle };
using TShiftState = TFlags<TShiftFlag>;

// Virtual-key codes the panel answers.
namespace vk {
constexpr int Return = 0x0D, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24,
              Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Delete = 0x2E, F2 = 0x71;
}

// What a key asks of the Win32 panel.
enum TKeyCommand : int {
  kcNone,
  kcExecute,    // default action on the current item
  kcDelete,     // "delete" verb on the selection, then SelectOnly(-1)
  kcCopy,       // "copy" verb
  kcCut,        // "cut" verb
  kcPaste,      // "paste" verb (folder mode)
  kcAddFiles,   // add the clipboard's files (file mode)
  kcBeginEdit,  // rename the current item
  kcScroll,     // ScrollTo(ScrollTop) without moving the selection
};

struct TKeyAction {
  TKeyCommand Command = kcNone;
  int ScrollTop = -1;
  friend bool operator==(const TKeyAction&, const TKeyAction&) = default;
};

struct TKeyContext {
  bool ReadOnly = false;
  bool DblClick = true;  // DefaultExec.DblClick
  TViewMode ViewMode = ivmFolder;
};

class TPanelSelection {
 public:
  explicit TPanelSelection(TPanelItems& items) : items_(items) {}

  bool MultiSelect = false;
  int ItemIndex = -1;                // current item
  int FocusIndex = 0;                // keyboard focus cell
  int AnchorIndex = -1;              // start of a Shift range; -1 counts as 0
  std::vector<int> SelectedIndexes;  // in the order they were selected

  std::function<void(int index)> OnItemChanged;   // Selected flag changed: frame and caption
  std::function<void(int index)> OnFocusChanged;  // focus rectangle moved: caption
  std::function<void(int index)> MakeVisible;
  std::function<void(int index)> OnSelectItem;

  // The common rule of clicks and keys.
  void SelectItem(int index, TShiftState shift, bool byKeyboard);
  void SelectOnly(int index);  // -1: clear only
  void ClearSelection();
  void SelectAll();
  void InvertSelection();
  int SelCount() const { return static_cast<int>(SelectedIndexes.size()); }

  // The items are about to be rebuilt: the selection list goes with them.
  void Reloading() { SelectedIndexes.clear(); }
  // The items were rebuilt, count of them: positions reset, or kept and clamped to count.
  void Reloaded(int count, bool resetPosition);
  // Runs sort, which reorders the items, and moves every position along with its item.
  void Reorder(const std::function<void()>& sort);
  // Runs rebuild, which lists the items again, keeping some (with their ItemIDs and Selected
  // flags) and adding others. Every position follows its kept item; the position of a
  // current, focused or anchor item that is gone stays, clamped to the new count.
  void Rebuild(const std::function<void()>& rebuild);

  // Navigation and command keys. layout gives the grid and scroll state.
  TKeyAction KeyDown(int key, TShiftState shift, const TPanelLayout& layout,
                     const TKeyContext& ctx);

 private:
  void SetSelected(int index, bool selected);
  int PageDownTarget(int start, const TPanelLayout& layout, TKeyAction& action) const;
  TPanelItems& items_;
};

}  // namespace thumbpanel
