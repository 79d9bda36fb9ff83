// The panel as an OLE drop target: files dragged over it go on to the shell's drop target
// of the folder item or of the shown folder under the pointer; in file mode they are added.
#include <cstdlib>

#include "shellview/ShellNames.h"
#include "thumbpanel/ImgPanel.h"
#include "thumbpanel/PanelDropTarget.h"
#include "thumbpanel/ShellMenuRules.h"

namespace thumbpanel {

HRESULT TPanelDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
  *effect = panel_ ? panel_->DropEnter(data, keyState, pt) : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT TPanelDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
  *effect = panel_ ? panel_->DropOver(keyState, pt, *effect) : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT TPanelDropTarget::DragLeave() {
  if (panel_) panel_->DropLeave();
  return S_OK;
}

HRESULT TPanelDropTarget::Drop(IDataObject* data, DWORD, POINTL pt, DWORD* effect) {
  *effect = panel_ ? panel_->DropFiles(data, pt, *effect) : DROPEFFECT_NONE;
  return S_OK;
}

void TCustomImgPanel::UpdateDropRegistration() {
  if (!Handle()) return;
  const bool wanted = DefaultExec.DropTarget();
  if (wanted == (dropTarget_ != nullptr)) return;
  if (!wanted) {
    RevokeDropTarget();
    return;
  }
  auto* target = new TPanelDropTarget(*this);
  if (SUCCEEDED(RegisterDragDrop(Handle(), target))) {
    dropTarget_ = target;
  } else {
    target->Release();
  }
}

void TCustomImgPanel::RevokeDropTarget() {
  if (!dropTarget_) return;
  RevokeDragDrop(Handle());
  dropTarget_->Detach();
  dropTarget_->Release();
  dropTarget_ = nullptr;
  dropData_ = {};
}

bool TCustomImgPanel::FileEvent(const TFileDropTargetEvent& event, IDataObject* data,
                                DWORD keyState, POINTL screen) {
  if (!event) return true;
  TFileDataObject files(data);
  bool accept = true;
  event(*this, files, KeyStateShift(keyState), POINT{screen.x, screen.y}, accept);
  return accept;
}

DWORD TCustomImgPanel::DropEnter(IDataObject* data, DWORD keyState, POINTL screen) {
  dropData_ = {};
  dropTargetIndex_ = -1;
  autoScroll_.Reset();
  if (!OffersFileList(data)) return DROPEFFECT_NONE;
  data->AddRef();
  *dropData_.put() = data;
  dropKeyState_ = keyState;
  if (!FileEvent(OnFileDragEnter, data, keyState, screen)) return DROPEFFECT_NONE;
  return ProposedEffect(keyState);
}

ui::ComPtr<IDropTarget> TCustomImgPanel::FolderDropTarget() {
  IShellFolder* desktop = TShellShare::Desktop();
  shellview::IdList location;
  LPCITEMIDLIST folder = folderIdList_.get();
  if (IsDesktopIdList(folder)) {
    if (FAILED(SHGetSpecialFolderLocation(Handle(), CSIDL_DESKTOPDIRECTORY, location.put())))
      return {};
    folder = location.get();
  }
  ui::ComPtr<IDropTarget> target;
  if (!desktop || !folder ||
      FAILED(desktop->GetUIObjectOf(Handle(), 1, &folder, IID_IDropTarget, nullptr,
                                    target.put_void())))
    return {};
  return target;
}

ui::ComPtr<IDropTarget> TCustomImgPanel::ShellDropTarget(int index) {
  if (!folder_) return {};
  if (items_.Valid(index)) {
    TPanelItem& item = items_[index];
    if (!item.HasIDList() || !HasAttributes(item, sfgao::DropTarget)) return {};
    LPCITEMIDLIST id = AsIdList(item.ItemIDList);
    ui::ComPtr<IDropTarget> target;
    if (SUCCEEDED(folder_->GetUIObjectOf(Handle(), 1, &id, IID_IDropTarget, nullptr,
                                         target.put_void())) &&
        target)
      return target;
    return FolderDropTarget();
  }
  if (!IsDesktopIdList(folderIdList_.get())) {
    ui::ComPtr<IShellFolder> parent;
    LPCITEMIDLIST last = nullptr;
    if (FAILED(SHBindToParent(folderIdList_.get(), IID_IShellFolder, parent.put_void(), &last)) ||
        !(shellview::ItemAttributes(parent.get(), last, sfgao::DropTarget) & sfgao::DropTarget))
      return {};
  }
  return FolderDropTarget();
}

DWORD TCustomImgPanel::DropOver(DWORD keyState, POINTL screen, DWORD allowed) {
  if (!dropData_) return DROPEFFECT_NONE;
  // The drop acts on the keys last seen over the panel, which the cursor showed.
  dropKeyState_ = keyState;
  POINT client{screen.x, screen.y};
  ScreenToClient(Handle(), &client);
  DWORD effect = ProposedEffect(keyState);
  if (viewMode_ == ivmFolder) {
    dropTargetIndex_ = ItemAtPos(client.x, client.y);
    effect = DROPEFFECT_NONE;
    if (ui::ComPtr<IDropTarget> target = ShellDropTarget(dropTargetIndex_)) {
      DWORD entered = allowed;
      target->DragEnter(dropData_.get(), keyState, screen, &entered);
      effect = allowed;
      if (FAILED(target->DragOver(keyState, screen, &effect))) effect = DROPEFFECT_NONE;
      target->DragLeave();
    }
  }
  if (!FileEvent(OnFileDragOver, dropData_.get(), keyState, screen)) effect = DROPEFFECT_NONE;
  DragAutoScroll(client);
  return effect;
}

void TCustomImgPanel::DragAutoScroll(POINT client) {
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE};
  const bool bar = scrollBar_ && (GetWindowLongPtrA(Handle(), GWL_STYLE) & WS_VSCROLL) &&
                   GetScrollInfo(Handle(), SB_VERT, &si);
  const bool hasRange = bar && si.nMax > si.nMin;
  TDragAutoScroll::TEdges edges;
  edges.ClientHeight = ClientHeight();
  edges.Margin = std::abs(textHeight_);
  edges.BottomInset = hasRange ? GetSystemMetrics(SM_CYVTHUMB) : 0;
  edges.HasScrollBar = bar;
  if (const std::optional<TScrollCode> code = autoScroll_.Step(client.y, edges, GetTickCount()))
    if (const std::optional<int> top = layout_.VScroll(*code, 0, items_.Count())) ScrollTo(*top);
}

void TCustomImgPanel::DropLeave() {
  dropData_ = {};
  dropTargetIndex_ = -1;
  if (OnFileDragLeave) OnFileDragLeave(*this);
}

DWORD TCustomImgPanel::DropFiles(IDataObject* data, POINTL screen, DWORD allowed) {
  DWORD effect = DROPEFFECT_NONE;
  if (dropData_ && FileEvent(OnFileDragDrop, data, dropKeyState_, screen)) {
    if (viewMode_ == ivmFile) {
      TFileDataObject files(data);
      for (const std::string& path : files.Files()) AddFile(path);
      UpdateScrollBar(true);
      effect = ProposedEffect(dropKeyState_);
    } else if (ForwardsDrop(mouse_.DragState)) {
      if (ui::ComPtr<IDropTarget> target = ShellDropTarget(dropTargetIndex_)) {
        // The drop carries the effect the target chose for these keys.
        DWORD entered = allowed;
        target->DragEnter(data, dropKeyState_, screen, &entered);
        effect = allowed;
        if (FAILED(target->DragOver(dropKeyState_, screen, &effect)) ||
            FAILED(target->Drop(data, dropKeyState_, screen, &effect)))
          effect = DROPEFFECT_NONE;
      }
    }
  }
  dropData_ = {};
  dropTargetIndex_ = -1;
  mouse_.DragState = 0;
  return effect;
}

}  // namespace thumbpanel
