#pragma once
// TImgPanel: one shell folder as a grid of framed thumbnails with captions, filled by a
// background worker. The class is split by concern: ImgPanelItems.cpp (folder, items,
// settings), ImgPanelPaint.cpp (layout and painting), ImgPanelInput.cpp (mouse, keys,
// default action, rename), ImgPanelShell.cpp (shell verbs, context menu, drag out) and
// ImgPanelDrop.cpp (accepting drops); the worker and the watcher live in ImgThreads and
// ShellChange.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/DibSection.h"
#include "imaging/ImgList.h"
#include "imaging/ImgUtils.h"
#include "shellview/FolderIdListView.h"
#include "shellview/ShellIdList.h"
#include "thumbpanel/DragDropRules.h"
#include "thumbpanel/FileDataObject.h"
#include "thumbpanel/ImgShare.h"
#include "thumbpanel/ImgThreads.h"
#include "thumbpanel/PanelContextMenu.h"
#include "thumbpanel/PanelLayout.h"
#include "thumbpanel/PanelMessages.h"
#include "thumbpanel/PanelMouse.h"
#include "thumbpanel/PanelSelection.h"
#include "thumbpanel/PanelSettings.h"
#include "thumbpanel/ShellChange.h"
#include "ui/Handles.h"
#include "ui/Timer.h"
#include "ui/Window.h"

namespace thumbpanel {

class TCustomImgPanel;
class TPanelDropTarget;

// The panel's view settings with its own loader, whose change is forwarded.
class TPanelViewImage : public TViewImage {
 public:
  TPanelViewImage() {
    ImgUtil.OnChange = [this](imaging::TImgUtil&) { ForwardChange(); };
  }
  imaging::TImgUtil ImgUtil;
};

// The work manager of the panel: jobs for the panel's items, results into its stores.
class TFileImage : public TImgThreads {
 public:
  TFileImage(TCustomImgPanel& panel, TPanelItems& items) : TImgThreads(items), panel_(panel) {}

 private:
  void ImageLoad(int index) override;
  bool LaunchJob(const TThumbJob& job, int index) override;
  void ApplyThumbnail(const TThumbJob& job, int index) override;
  void ImageLoaded(int index) override;
  TCustomImgPanel& panel_;
};

// The rename editor: a multi-line edit over the caption.
class TImgInplaceEdit : public ui::Window {
 public:
  void CreateEdit(TCustomImgPanel& panel);
  int ItemIndex = -1;
  bool Cancelled = false;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  TCustomImgPanel* panel_ = nullptr;
};

using TImgEvent = std::function<void(TObject& Sender, TPanelItem& Item)>;
using TImgDrawItemEvent = std::function<void(TObject& Sender, TPanelItem& Item, const RECT& Rect)>;
using TImgItemAddEvent = std::function<void(TObject& Sender, TPanelItem& Item, bool& AllowAdd)>;
using TImgEditingEvent = std::function<void(TObject& Sender, TPanelItem& Item, bool& AllowEdit)>;
using TImgEditedEvent = std::function<void(TObject& Sender, TPanelItem& Item, std::string& S)>;
// Point in screen coordinates; Shift is the OLE key state.
using TFileDropTargetEvent = std::function<void(TObject& Sender, TFileDataObject& FileDataObject,
                                                TShiftState Shift, POINT Point, bool& Accept)>;
// MousePos in screen coordinates; Handled keeps the panel's own menu closed.
using TContextPopupEvent = std::function<void(TObject& Sender, POINT MousePos, bool& Handled)>;
// WheelDelta as WM_MOUSEWHEEL gives it; MousePos in screen coordinates; Handled keeps the
// panel from scrolling.
using TMouseWheelEvent = std::function<void(TObject& Sender, TShiftState Shift, int WheelDelta,
                                            POINT MousePos, bool& Handled)>;

class TCustomImgPanel : public ui::Window, public TObject, public shellview::FolderIdListView {
 public:
  TCustomImgPanel();
  ~TCustomImgPanel() override;

  // Creates the window; the panel then shows the Desktop (or the folder set before).
  void CreatePanel(HWND parent, int x, int y, int width = 250, int height = 150);

  // Settings.
  TView View;
  TPanelViewImage ViewImage;
  TDefaultExec DefaultExec;
  TShellChangeNotification ShellChangeNotification{hwndCopy_};
  TImgPanelPopupMenu ImgPopupMenu;
  COLORREF Color() const { return color_; }
  void SetColor(COLORREF c);
  COLORREF FontColor = GetSysColor(COLOR_WINDOWTEXT);
  // Sets the panel font (not owned).
  void SetFont(HFONT font);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v);
  bool MultiSelect() const { return selection_.MultiSelect; }
  void SetMultiSelect(bool v) { selection_.MultiSelect = v; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  // bsSingle: the sunken client edge; bsNone: no border.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  // Whether the vertical scroll bar shows.
  bool ScrollBar() const { return scrollBar_; }
  void SetScrollBar(bool v);
  TSortTypeEx SortType() const { return sortType_; }
  void SetSortType(TSortTypeEx v);
  bool Descend() const { return descend_; }
  void SetDescend(bool v);
  TViewMode ViewMode() const { return viewMode_; }
  void SetViewMode(TViewMode v);

  // Folder and items.
  void SetFolderIDList(LPCITEMIDLIST absolute) override;
  void SetFolderPath(const std::string& path);
  std::string FolderPath() const;
  LPCITEMIDLIST FolderIDList() const { return folderIdList_.get(); }
  void Reload(bool ResetPosition);
  void Refresh();
  TPanelItem* AddFile(const std::string& path);
  TPanelItems& Items() { return items_; }
  TFileImage& ImgThreads() { return threads_; }

  // Item operations through the shell.
  IShellFolder* ParentFolder(const TPanelItem& item);
  shellview::IdList AbsoluteIDList(const TPanelItem& item) const;
  const std::string& GetDisplayName(TPanelItem& item);
  const std::string& GetParsingName(TPanelItem& item);
  int GetSysIconIndex(TPanelItem& item);
  imaging::TImageType GetImageType(TPanelItem& item);
  bool HasAttributes(TPanelItem& item, ULONG mask);
  bool Rename(TPanelItem& item, const std::string& newName);
  bool IsThumbnailType(int index);
  void Execute(TPanelItem& item);

  // Layout and painting.
  const TPanelLayout& Layout() const { return layout_; }
  int TopIndex() const { return layout_.TopIndex; }
  void Relayout(int width, int height);
  void ScrollTo(int index);
  void MakeVisible(int index);
  void DrawCell(int index);  // into the back buffer only
  void DrawFrame(int index);
  void DrawImage(int index);
  void DrawCaption(int index);
  void InvalidateCell(int index, int kind);
  void UpdateScrollBar(bool reset);
  int ItemAtPos(int x, int y) const;
  RECT ItemRect(int index, int kind) const;
  // The back buffer: what the window shows (pixels top-down, client size).
  const imaging::DibSection* BackBuffer() const { return back_.get(); }
  HDC ItemCanvas() const { return backDc_.get(); }

  // Selection.
  TPanelSelection& Selection() { return selection_; }
  int ItemIndex() const { return selection_.ItemIndex; }
  int FocusIndex() const { return selection_.FocusIndex; }
  int SelCount() const { return selection_.SelCount(); }
  TPanelItem* Selected();
  void SelectItem(int index, TShiftState shift, bool byKeyboard) {
    selection_.SelectItem(index, shift, byKeyboard);
  }
  void SelectOnly(int index) { selection_.SelectOnly(index); }
  void ClearSelection() { selection_.ClearSelection(); }
  void SelectAll() { selection_.SelectAll(); }
  void InvertSelection() { selection_.InvertSelection(); }
  void SetSelected(int index, bool selected);
  void BeginEdit(int index);
  TImgInplaceEdit& InplaceEdit() { return edit_; }

  // Shell verbs, context menu and dragging out.
  // "copy", "cut", "delete" on the selection; "paste" into the shown folder in folder mode.
  void InvokeVerb(const char* verb);
  // The selection's ID lists in SelectedIndexes order, rebuilt: in folder mode the items'
  // one-level IDs (borrowed), in file mode absolute lists (owned until the next rebuild).
  const std::vector<LPCITEMIDLIST>& SelectionIDLists();
  // The context menu at a screen point: for the selection, or in file mode the current item.
  void ContextPopup(POINT screen);
  int DragState() const { return mouse_.DragState; }

  // Accepting drops; the registered OLE drop target calls these. Each returns the effect.
  bool DropTargetRegistered() const { return dropTarget_ != nullptr; }
  int DropTargetIndex() const { return dropTargetIndex_; }
  DWORD DropEnter(IDataObject* data, DWORD keyState, POINTL screen);
  DWORD DropOver(DWORD keyState, POINTL screen, DWORD allowed);
  void DropLeave();
  DWORD DropFiles(IDataObject* data, POINTL screen, DWORD allowed);

  // Events.
  TImgEvent OnSelectItem, OnImageLoad, OnImageLoaded;
  TNotifyEvent OnChangeFolder;
  TImgDrawItemEvent OnDrawItem;
  TImgItemAddEvent OnImgItemAdd;
  TImgEditingEvent OnEditing;
  TImgEditedEvent OnEdited;
  std::function<void(TObject& Sender)> OnDblClick;
  std::function<void(TObject& Sender, WORD& key, TShiftState shift)> OnKeyDown;
  TContextPopupEvent OnContextPopup;
  TMouseWheelEvent OnMouseWheel;
  TFileDropTargetEvent OnFileDragEnter, OnFileDragOver, OnFileDragDrop;
  TNotifyEvent OnFileDragLeave;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The shell drop target for an item, or for the shown folder (index -1); none when the
  // place takes no drops.
  virtual ui::ComPtr<IDropTarget> ShellDropTarget(int index);

 private:
  friend class TFileImage;
  friend class TImgInplaceEdit;

  // Items.
  void EnterMode();
  // Lists the shown folder; the entries that kept has an item for take it over.
  void Enumerate(TKeptItems* kept);
  void SortItems();
  void Resort();
  void LookAheadRequest(TPanelItem& item);
  // The extension whose icon the item shows, or nothing when it has an icon of its own.
  std::optional<std::string> IconExtension(TPanelItem& item);
  void ResetView();
  void ChangeSettings();
  void StartWatching();
  void FreeItems();
  void OnThumbResult(std::int32_t itemID);

  // Painting.
  void FetchTextMetrics();
  void DrawTemplate();
  void FillBack(const RECT& r, COLORREF c);
  void FrameRect(RECT box, int width, COLORREF c);
  void DrawLines(RECT r, int width, COLORREF topLeft, COLORREF bottomRight);
  void CopyCell(const imaging::TImgList& store, int index, int x, int y);
  int IconImage(TPanelItem& item, base::Bitmap& direct);
  void DrawBadge(TPanelItem& item, base::Bitmap& thumb);
  void RedrawSelectionLook();
  bool Focused() const;
  void Paint();

  // Input.
  void MouseDown(ui::MouseButton button, WPARAM keys, int x, int y);
  void MouseWheel(int delta);
  void KeyDown(WORD key);
  void RenameTimer();
  void CloseEditor();
  void CommitEdit();
  void SizeEditor();
  TShiftState ShiftState() const;

  // Shell menu and drag and drop.
  void StartDrag();
  void UpdateDropRegistration();
  void RevokeDropTarget();
  ui::ComPtr<IDropTarget> FolderDropTarget();
  bool FileEvent(const TFileDropTargetEvent& event, IDataObject* data, DWORD keyState,
                 POINTL screen);
  void DragAutoScroll(POINT client);

  TShellShare share_;
  HWND hwndCopy_ = nullptr;  // the window handle, for the watcher settings
  TPanelItems items_;
  TPanelLayout layout_;
  TPanelSelection selection_{items_};
  TPanelMouse mouse_{items_, selection_};
  TFileImage threads_{*this, items_};
  imaging::TImgList thumbs_, icons_;
  std::map<std::string, int> iconCache_;       // "OverlayKind/SysIconIndex" -> icon store index
  std::map<std::string, int> extensionIcons_;  // extension -> system image list index
  HIMAGELIST sysLarge_ = nullptr, sysSmall_ = nullptr;
  int largeIconSize_ = 32;
  shellview::IdList folderIdList_;
  ui::ComPtr<IShellFolder> folder_;
  bool everShown_ = false;
  std::unique_ptr<imaging::DibSection> back_;
  // The small-icon badge is drawn here, kept at the thumbnail cell's size.
  std::unique_ptr<imaging::DibSection> badgeCanvas_;
  std::unique_ptr<imaging::MemoryDc> badgeDc_;
  ui::UniqueDc backDc_;
  HGDIOBJ backDcOldBitmap_ = nullptr;
  HFONT font_ = nullptr;
  int textHeight_ = 0, fontLeading_ = 0;
  bool metricsTaken_ = false;
  bool paintSuspended_ = false;
  int fullDraws_ = 0;  // ScrollTo calls that drew every visible cell
  COLORREF color_ = RGB(255, 255, 255);
  bool hideSelection_ = true, readOnly_ = false, descend_ = false, scrollBar_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  bool deferStart_ = false;  // while a full redraw requests thumbnails: one start after it
  TSortTypeEx sortType_ = istName;
  TViewMode viewMode_ = ivmFolder;
  TImgInplaceEdit edit_;
  ui::Timer renameTimer_;
  std::vector<LPCITEMIDLIST> selectionIds_;
  std::vector<shellview::IdList> ownedSelectionIds_;  // file mode
  TPanelDropTarget* dropTarget_ = nullptr;            // one reference, while registered
  ui::ComPtr<IDataObject> dropData_;
  int dropTargetIndex_ = -1;
  DWORD dropKeyState_ = 0;
  TDragAutoScroll autoScroll_;
  TWheelRows wheel_;
};

class TImgPanel : public TCustomImgPanel {};

}  // namespace thumbpanel
