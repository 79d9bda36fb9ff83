#include "thumbpanel/PanelSelection.h"

#include <algorithm>
#include <unordered_map>

namespace thumbpanel {

void TPanelSelection::SetSelected(int index, bool selected) {
  TPanelItem& item = items_[index];
  if (item.Selected == selected) return;
  item.Selected = selected;
  if (OnItemChanged) OnItemChanged(index);
}

void TPanelSelection::SelectItem(int index, TShiftState shift, bool byKeyboard) {
  if (!items_.Valid(index)) return;
  const bool withShift = shift.Has(ssShift);
  const bool withCtrl = shift.Has(ssCtrl) && !withShift;
  if (FocusIndex >= 0) {
    const int old = FocusIndex;
    FocusIndex = -1;
    if (items_.Valid(old) && OnFocusChanged) OnFocusChanged(old);
  }
  FocusIndex = index;

  if (withShift) {
    ClearSelection();
    const int anchor = std::min(std::max(AnchorIndex, 0), items_.Count() - 1);
    for (int i = std::min(anchor, index); i <= std::max(anchor, index); ++i) {
      SetSelected(i, true);
      SelectedIndexes.push_back(i);
    }
  } else if (!withCtrl) {
    ClearSelection();
    SetSelected(index, true);
    SelectedIndexes.push_back(index);
  } else if (!byKeyboard) {
    const bool selected = !items_[index].Selected;
    SetSelected(index, selected);
    if (selected)
      SelectedIndexes.push_back(index);
    else
      std::erase(SelectedIndexes, index);
  }

  if (MakeVisible) MakeVisible(index);
  if (!withShift) AnchorIndex = index;
  if (withCtrl && byKeyboard) {
    if (OnFocusChanged) OnFocusChanged(index);
  } else {
    ItemIndex = index;
    if (OnSelectItem) OnSelectItem(index);
  }
}

void TPanelSelection::SelectOnly(int index) {
  ClearSelection();
  if (!items_.Valid(index)) return;
  SetSelected(index, true);
  SelectedIndexes.push_back(index);
  ItemIndex = index;
}

void TPanelSelection::ClearSelection() {
  for (int i : SelectedIndexes)
    if (items_.Valid(i)) SetSelected(i, false);
  SelectedIndexes.clear();
  ItemIndex = -1;
}

void TPanelSelection::SelectAll() {
  if (!MultiSelect) return;
  SelectedIndexes.clear();
  for (int i = 0; i < items_.Count(); ++i) {
    SetSelected(i, true);
    SelectedIndexes.push_back(i);
  }
}

void TPanelSelection::InvertSelection() {
  if (!MultiSelect) return;
  SelectedIndexes.clear();
  for (int i = 0; i < items_.Count(); ++i) {
    SetSelected(i, !items_[i].Selected);
    if (items_[i].Selected) SelectedIndexes.push_back(i);
  }
}

void TPanelSelection::Reloaded(int count, bool resetPosition) {
  SelectedIndexes.clear();
  if (resetPosition) {
    ItemIndex = -1;
    FocusIndex = 0;
    AnchorIndex = -1;
    return;
  }
  ItemIndex = std::min(ItemIndex, count - 1);
  FocusIndex = std::max(std::min(FocusIndex, count - 1), 0);
  AnchorIndex = std::min(AnchorIndex, count - 1);
}

void TPanelSelection::Reorder(const std::function<void()>& sort) {
  const auto idOf = [this](int i) { return items_.Valid(i) ? items_[i].ItemID : -1; };
  const std::int32_t item = idOf(ItemIndex), focus = idOf(FocusIndex), anchor = idOf(AnchorIndex);
  std::vector<std::int32_t> selected;
  for (int i : SelectedIndexes) selected.push_back(idOf(i));
  sort();
  ItemIndex = items_.IndexOfID(item);
  if (items_.Valid(FocusIndex)) FocusIndex = items_.IndexOfID(focus);
  AnchorIndex = items_.IndexOfID(anchor);
  for (std::size_t k = 0; k < selected.size(); ++k)
    SelectedIndexes[k] = items_.IndexOfID(selected[k]);
  std::erase(SelectedIndexes, -1);
}

void TPanelSelection::Rebuild(const std::function<void()>& rebuild) {
  const auto idOf = [this](int i) { return items_.Valid(i) ? items_[i].ItemID : -1; };
  const std::int32_t item = idOf(ItemIndex), focus = idOf(FocusIndex), anchor = idOf(AnchorIndex);
  std::vector<std::int32_t> selected;
  for (int i : SelectedIndexes) selected.push_back(idOf(i));
  rebuild();
  std::unordered_map<std::int32_t, int> positions;
  for (int i = 0; i < items_.Count(); ++i) positions.emplace(items_[i].ItemID, i);
  const int count = items_.Count();
  const auto follow = [&](std::int32_t id, int old, int lowest) {
    const auto it = positions.find(id);
    return it != positions.end() ? it->second : std::max(std::min(old, count - 1), lowest);
  };
  ItemIndex = follow(item, ItemIndex, -1);
  FocusIndex = follow(focus, FocusIndex, 0);
  AnchorIndex = follow(anchor, AnchorIndex, -1);
  SelectedIndexes.clear();
  for (std::int32_t id : selected)
    if (const auto it = positions.find(id); it != positions.end())
      SelectedIndexes.push_back(it->second);
}

int TPanelSelection::PageDownTarget(int start, const TPanelLayout& layout,
                                    TKeyAction& action) const {
  const int count = items_.Count(), cols = layout.ColCount;
  if (start + layout.VisibleCount <= count - 1) return start + layout.VisibleCount;
  const int lastRow = (count - 1) / cols;
  const int row = start / cols;
  if (row == lastRow) {
    if (const auto top = layout.VScroll(sbPageDown, 0, count)) action = {kcScroll, *top};
    return -1;
  }
  if (start + cols > count - 1) {
    action = {kcScroll, row * cols};
    return -1;
  }
  const int target = cols * lastRow + start % cols;
  return target > count - 1 ? target - cols : target;
}

TKeyAction TPanelSelection::KeyDown(int key, TShiftState shift, const TPanelLayout& layout,
                                    const TKeyContext& ctx) {
  TKeyAction action;
  const bool ctrl = shift.Has(ssCtrl);
  if (ctrl) {
    switch (key) {
      case 'A':
        SelectAll();
        return action;
      case 'C':
        return {kcCopy};
      case 'I':
        InvertSelection();
        return action;
      case 'V':
        if (ctx.ReadOnly) return action;
        return {ctx.ViewMode == ivmFile ? kcAddFiles : kcPaste};
      case 'X':
        return ctx.ReadOnly ? action : TKeyAction{kcCut};
      default:
        break;
    }
  }
  if (key == vk::F2 && !ctrl) {
    if (!ctx.ReadOnly && items_.Valid(ItemIndex)) action.Command = kcBeginEdit;
    return action;
  }

  const int count = items_.Count(), cols = layout.ColCount;
  if (count == 0) return action;
  // A single-selection panel keeps a single selection from the keyboard too.
  TShiftState nav = MultiSelect ? shift : TShiftState{};
  if (nav.Has(ssShift)) nav = nav.Without(ssCtrl);
  const int start = std::min(std::max(FocusIndex, 0), count - 1);
  int target = -1;
  switch (key) {
    case vk::Return:
      if (ctx.DblClick && items_.Valid(ItemIndex)) action.Command = kcExecute;
      return action;
    case vk::Space:
      SelectItem(start, nav, false);
      return action;
    case vk::Delete:
      if (shift == TShiftState{} && !ctx.ReadOnly) action.Command = kcDelete;
      return action;
    case vk::End:
      target = count - 1;
      break;
    case vk::Home:
      target = 0;
      break;
    default:
      if (cols <= 0) return action;
      switch (key) {
        case vk::Prior:
          target = start - layout.VisibleCount >= 0 ? start - layout.VisibleCount : start % cols;
          break;
        case vk::Next:
          target = PageDownTarget(start, layout, action);
          break;
        case vk::Left:
          if (start % cols != 0) target = start - 1;
          break;
        case vk::Up:
          if (start >= cols) target = start - cols;
          break;
        case vk::Right:
          if (start % cols != cols - 1 && start < count - 1) target = start + 1;
          break;
        case vk::Down:
          if (start + cols <= count - 1) target = start + cols;
          break;
        default:
          break;
      }
  }
  if (target >= 0) SelectItem(target, nav, true);
  return action;
}

}  // namespace thumbpanel
