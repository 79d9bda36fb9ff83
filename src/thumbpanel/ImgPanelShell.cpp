// The panel's shell verbs, its context menu and dragging items out.
#include <string_view>

#include "shellview/ShellNames.h"
#include "thumbpanel/ImgPanel.h"
#include "thumbpanel/PanelDragSource.h"
#include "thumbpanel/ShellVerbs.h"
#include "ui/WideText.h"

namespace thumbpanel {

const std::vector<LPCITEMIDLIST>& TCustomImgPanel::SelectionIDLists() {
  selectionIds_.clear();
  ownedSelectionIds_.clear();
  for (const int index : selection_.SelectedIndexes) {
    if (!items_.Valid(index) || !items_[index].HasIDList()) continue;
    TPanelItem& item = items_[index];
    if (viewMode_ == ivmFolder) {
      selectionIds_.push_back(AsIdList(item.ItemIDList));
      continue;
    }
    const std::wstring wide = ui::ToWide(GetParsingName(item));
    LPITEMIDLIST list = nullptr;
    if (!folder_ ||
        FAILED(folder_->ParseDisplayName(Handle(), nullptr, const_cast<LPWSTR>(wide.c_str()),
                                         nullptr, &list, nullptr)))
      continue;
    ownedSelectionIds_.emplace_back(shellview::takeOwnership, list);
    selectionIds_.push_back(list);
  }
  return selectionIds_;
}

void TCustomImgPanel::InvokeVerb(const char* verb) {
  if (!Handle()) return;
  if (viewMode_ == ivmFolder && std::string_view(verb) == "paste") {
    PasteIntoFolder(TShellShare::Desktop(), folderIdList_.get(), Handle());
    return;
  }
  InvokeSelectionVerb(folder_.get(), Handle(), SelectionIDLists(), verb, viewMode_ == ivmFolder,
                      viewMode_ == ivmFolder && IsDesktopIdList(folderIdList_.get()));
}

void TCustomImgPanel::ContextPopup(POINT screen) {
  TPanelItem* current = Selected();
  if (!current) return;
  if (viewMode_ == ivmFile) {
    if (!current->HasIDList()) return;
    ui::ComPtr<IShellFolder> parent;
    if (IShellFolder* folder = ParentFolder(*current)) {
      folder->AddRef();
      *parent.put() = folder;
    }
    ImgPopupMenu.Popup(parent.get(), {AsIdList(current->ItemIDList)}, Handle(), readOnly_, screen);
    return;
  }
  ImgPopupMenu.Popup(folder_.get(), SelectionIDLists(), Handle(), readOnly_, screen);
}

void TCustomImgPanel::StartDrag() {
  const std::vector<LPCITEMIDLIST>& ids = SelectionIDLists();
  ui::ComPtr<IDataObject> data;
  if (!folder_ || ids.empty() ||
      FAILED(folder_->GetUIObjectOf(Handle(), UINT(ids.size()),
                                    const_cast<LPCITEMIDLIST*>(ids.data()), IID_IDataObject,
                                    nullptr, data.put_void())) ||
      !data) {
    mouse_.DragState = 0;
    return;
  }
  IDropSource* source = new TPanelDropSource;
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(data.get(), source, DragTypeEffects(DefaultExec.DragType), &effect);
  source->Release();
  mouse_.DragState = 0;
}

}  // namespace thumbpanel
