#include "thumbpanel/DragDropRules.h"

namespace thumbpanel {

std::uint32_t DragTypeEffects(TDragType type) {
  std::uint32_t effects = dropeffect::None;
  if (type.Has(idtCopy)) effects |= dropeffect::Copy;
  if (type.Has(idtMove)) effects |= dropeffect::Move;
  if (type.Has(idtLink)) effects |= dropeffect::Link;
  return effects;
}

TDragStep PanelDragStep(bool escapePressed, std::uint32_t keyState) {
  const std::uint32_t buttons = keyState & (mk::LButton | mk::RButton);
  if (escapePressed || buttons == (mk::LButton | mk::RButton)) return TDragStep::Cancel;
  return buttons ? TDragStep::Continue : TDragStep::Drop;
}

std::uint32_t ProposedEffect(std::uint32_t keyState) {
  if (!(keyState & mk::Control)) return dropeffect::Move;
  return (keyState & mk::Shift) ? dropeffect::Link : dropeffect::Copy;
}

TShiftState KeyStateShift(std::uint32_t keyState) {
  static constexpr std::pair<std::uint32_t, TShiftFlag> kBits[] = {
      {mk::Shift, ssShift},  {mk::Control, ssCtrl},  {mk::Alt, ssAlt},
      {mk::LButton, ssLeft}, {mk::RButton, ssRight}, {mk::MButton, ssMiddle}};
  TShiftState s;
  for (const auto& [bit, flag] : kBits)
    if (keyState & bit) s = s.With(flag);
  return s;
}

std::optional<TScrollCode> TDragAutoScroll::Step(int y, const TEdges& edges, std::uint32_t now) {
  if (!edges.HasScrollBar) return std::nullopt;
  std::optional<TScrollCode> code;
  if (y < edges.Margin)
    code = sbLineUp;
  else if (y >= edges.ClientHeight - edges.BottomInset - edges.Margin)
    code = sbLineDown;
  if (!code || (last_ && now - *last_ < Interval)) return std::nullopt;
  last_ = now;
  return code;
}

}  // namespace thumbpanel
