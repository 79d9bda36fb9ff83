// The panel window: creation, messages, mouse and keys, the default action and renaming.
#include <windowsx.h>
#include <shlobj.h>

#include <algorithm>

#include "base/Sjis.h"
#include "fsservices/DropTarget.h"
#include "shellview/ShellNames.h"
#include "thumbpanel/ImgPanel.h"
#include "ui/Font.h"
#include "ui/WideText.h"

namespace thumbpanel {

void TCustomImgPanel::CreatePanel(HWND parent, int x, int y, int width, int height) {
  ClassSpec cls{"TImgPanel"};
  cls.style = CS_DBLCLKS;
  cls.background = nullptr;
  Create(cls, borderStyle_ == bsSingle ? WS_EX_CLIENTEDGE : 0,
         WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_CLIPCHILDREN, "", x, y, width, height,
         parent);
  hwndCopy_ = Handle();
  SHFILEINFOA info{};
  shellview::IdList desktop(shellview::takeOwnership, shellview::AllocIdList(2));
  sysLarge_ =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktop.get()), 0, &info,
                                                  sizeof info, SHGFI_SYSICONINDEX | SHGFI_PIDL));
  sysSmall_ = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktop.get()), 0, &info, sizeof info,
                     SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON));
  int cx = 32, cy = 32;
  if (sysLarge_ && ImageList_GetIconSize(sysLarge_, &cx, &cy)) largeIconSize_ = cx;
  if (!font_) font_ = ui::UiFont();
  thumbs_.SetBkColor(base::BgrFromColorRef(color_));
  edit_.CreateEdit(*this);
  RECT rc;
  GetClientRect(Handle(), &rc);
  Relayout(rc.right, rc.bottom);
  ImgPopupMenu.CreateMessageWindow();
  EnterMode();
  UpdateDropRegistration();
}

TPanelItem* TCustomImgPanel::Selected() {
  return items_.Valid(selection_.ItemIndex) ? &items_[selection_.ItemIndex] : nullptr;
}

void TCustomImgPanel::SetSelected(int index, bool selected) {
  if (!items_.Valid(index) || items_[index].Selected == selected) return;
  items_[index].Selected = selected;
  DrawFrame(index);
  DrawCaption(index);
  InvalidateCell(index, 0);
}

void TCustomImgPanel::SetReadOnly(bool v) {
  readOnly_ = v;
  if (v) CloseEditor();
}

void TCustomImgPanel::SetBorderStyle(TBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  if (!Handle()) return;
  // The frame change resizes the client area, which lays the panel out again.
  const LONG_PTR ex = GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
  SetWindowLongPtrA(Handle(), GWL_EXSTYLE,
                    v == bsSingle ? ex | WS_EX_CLIENTEDGE : ex & ~LONG_PTR(WS_EX_CLIENTEDGE));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomImgPanel::SetScrollBar(bool v) {
  if (scrollBar_ == v) return;
  scrollBar_ = v;
  if (!Handle()) return;
  if (v) {
    UpdateScrollBar(false);
  } else {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);  // an empty range hides the bar
  }
}

TShiftState TCustomImgPanel::ShiftState() const {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s = s.With(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s = s.With(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s = s.With(ssAlt);
  return s;
}

LRESULT TCustomImgPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      if (hwndCopy_) Relayout(LOWORD(lp), HIWORD(lp));
      break;
    case WM_VSCROLL: {
      static const std::pair<int, TScrollCode> codes[] = {{SB_LINEUP, sbLineUp},
                                                          {SB_LINEDOWN, sbLineDown},
                                                          {SB_PAGEUP, sbPageUp},
                                                          {SB_PAGEDOWN, sbPageDown},
                                                          {SB_THUMBPOSITION, sbThumbPosition},
                                                          {SB_THUMBTRACK, sbThumbTrack},
                                                          {SB_TOP, sbTop},
                                                          {SB_BOTTOM, sbBottom}};
      for (const auto& [code, core] : codes) {
        if (LOWORD(wp) != code) continue;
        SCROLLINFO si{sizeof si, SIF_TRACKPOS};
        GetScrollInfo(Handle(), SB_VERT, &si);
        if (const std::optional<int> top = layout_.VScroll(core, si.nTrackPos, items_.Count()))
          ScrollTo(*top);
        UpdateWindow(Handle());
      }
      return 0;
    }
    case WM_IMGTHREAD_RESULT:
      OnThumbResult(static_cast<std::int32_t>(wp));
      return 0;
    case WM_SHELLCHANGE_CALLBACK:
      ShellChangeNotification.Report(static_cast<unsigned>(wp));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (msg == WM_KILLFOCUS) mouse_.CancelRename();
      RedrawSelectionLook();
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_KEYDOWN: {
      mouse_.CancelRename();
      WORD key = static_cast<WORD>(wp);
      if (OnKeyDown) OnKeyDown(*this, key, ShiftState());
      if (key) KeyDown(key);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      Window::HandleMessage(msg, wp, lp);  // the owner's event first
      MouseDown(msg == WM_LBUTTONDOWN ? ui::MouseButton::Left : ui::MouseButton::Right, wp,
                GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONUP:
      if (mouse_.LeftUp(GetTickCount())) renameTimer_.SetEnabled(true);
      break;
    case WM_RBUTTONUP:
      mouse_.RightUp();
      break;
    case WM_MOUSEWHEEL: {
      const int delta = GET_WHEEL_DELTA_WPARAM(wp);
      bool handled = false;
      if (OnMouseWheel)
        OnMouseWheel(*this, ShiftState(), delta, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)},
                     handled);
      if (!handled) MouseWheel(delta);
      return 0;
    }
    case WM_CONTEXTMENU: {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (lp == -1) {  // the menu key: at the current item
        const RECT cell = ItemRect(selection_.ItemIndex, 0);
        pt = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
        ClientToScreen(Handle(), &pt);
      }
      bool handled = false;
      if (OnContextPopup) OnContextPopup(*this, pt, handled);
      if (!handled) ContextPopup(pt);
      return 0;
    }
    case WM_DESTROY:
      RevokeDropTarget();
      break;
    case WM_LBUTTONDBLCLK:
      renameTimer_.SetEnabled(false);
      if (OnDblClick) OnDblClick(*this);
      if (mouse_.DblClick(DefaultExec.DblClick) && Selected()) Execute(*Selected());
      return 0;
    case WM_MOUSEMOVE:
      Window::HandleMessage(msg, wp, lp);
      mouse_.DropSource = DefaultExec.DropSource;
      if (mouse_.Move(TPoint{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, (wp & MK_LBUTTON) != 0,
                      (wp & MK_RBUTTON) != 0, GetSystemMetrics(SM_CXDRAG),
                      GetSystemMetrics(SM_CYDRAG)))
        StartDrag();
      return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

void TCustomImgPanel::MouseDown(ui::MouseButton button, WPARAM, int x, int y) {
  if (GetFocus() != Handle()) SetFocus(Handle());
  const int hit = ItemAtPos(x, y);
  const TPoint p{x, y};
  mouse_.DropSource = DefaultExec.DropSource;
  if (button == ui::MouseButton::Left) {
    renameTimer_.SetEnabled(false);
    if (mouse_.LeftDown(hit, ShiftState(), p)) CloseEditor();
  } else {
    mouse_.RightDown(hit, ShiftState(), p);
  }
}

void TCustomImgPanel::MouseWheel(int delta) {
  UINT lines = 3;
  if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  const int rows = wheel_.Rows(delta, lines, layout_.RowCount);
  if (const std::optional<int> top = layout_.ScrollRows(rows, items_.Count())) {
    ScrollTo(*top);
    UpdateWindow(Handle());
  }
}

void TCustomImgPanel::RenameTimer() {
  renameTimer_.SetEnabled(false);
  switch (mouse_.RenameTimer(GetTickCount() + RenameClickDelay, readOnly_)) {
    case rtBeginEdit:
      BeginEdit(selection_.ItemIndex);
      break;
    case rtCloseEditor:
      CloseEditor();
      break;
    case rtNone:
      break;
  }
}

void TCustomImgPanel::KeyDown(WORD key) {
  const TShiftState shift = ShiftState();
  TKeyContext ctx{readOnly_, DefaultExec.DblClick, viewMode_};
  const TKeyAction a = selection_.KeyDown(key, shift, layout_, ctx);
  switch (a.Command) {
    case kcExecute:
      if (Selected()) Execute(*Selected());
      break;
    case kcDelete:
      InvokeVerb("delete");
      SelectOnly(-1);
      break;
    case kcCopy:
      InvokeVerb("copy");
      break;
    case kcCut:
      InvokeVerb("cut");
      break;
    case kcPaste:
      InvokeVerb("paste");
      break;
    case kcAddFiles:
      if (OpenClipboard(Handle())) {
        std::vector<std::string> paths;
        if (HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP)))
          paths = fsservices::DroppedFilePaths(drop).Files;
        CloseClipboard();
        for (const std::string& path : paths) AddFile(path);
      }
      break;
    case kcBeginEdit:
      BeginEdit(selection_.ItemIndex);
      break;
    case kcScroll:
      ScrollTo(a.ScrollTop);
      break;
    case kcNone:
      break;
  }
}

void TCustomImgPanel::Execute(TPanelItem& item) {
  if (viewMode_ == ivmFolder && item.IsFolder && item.HasIDList()) {
    shellview::IdList absolute = AbsoluteIDList(item);
    SetFolderIDList(absolute.get());
    return;
  }
  const std::string parsing = GetParsingName(item);
  if (viewMode_ == ivmFolder && item.OverlayKind == 1 &&
      base::AnsiLowerCase(base::ExtractFileExt(parsing)) == ".lnk") {
    ui::ComPtr<IShellLinkA> link;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   link.put_void()))) {
      ui::ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
      const std::wstring wide = ui::ToWide(parsing);
      char target[MAX_PATH] = {};
      if (file && SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
          SUCCEEDED(link->Resolve(GetAncestor(Handle(), GA_ROOT), SLR_ANY_MATCH)) &&
          SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_UNCPRIORITY))) {
        const DWORD attrs = GetFileAttributesA(target);
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) {
          SetFolderPath(target);
          return;
        }
      }
    }
  }
  SHELLEXECUTEINFOA info{sizeof info};
  info.hwnd = Handle();
  info.nShow = SW_SHOWNORMAL;
  shellview::IdList absolute;
  if (viewMode_ == ivmFolder) {
    absolute = AbsoluteIDList(item);
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.lpIDList = absolute.get();
  } else {
    info.fMask = SEE_MASK_DOENVSUBST;
    info.lpFile = parsing.c_str();
  }
  ShellExecuteExA(&info);
}

// --- rename -----------------------------------------------------------------------------

void TImgInplaceEdit::CreateEdit(TCustomImgPanel& panel) {
  panel_ = &panel;
  CreateControl("EDIT", 0, WS_CHILD | WS_BORDER | ES_MULTILINE | ES_CENTER, 0, 0, 10, 10,
                panel.Handle());
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(panel.font_), 0);
}

LRESULT TImgInplaceEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        Hide();
        SetFocus(panel_->Handle());  // losing the focus commits
        return 0;
      }
      if (wp == VK_ESCAPE) {
        Cancelled = true;
        Hide();
        SetFocus(panel_->Handle());
        return 0;
      }
      if (wp == VK_TAB) return 0;
      if (wp == VK_DELETE) {
        const LRESULT r = CallDefault(msg, wp, lp);
        panel_->SizeEditor();
        return r;
      }
      break;
    case WM_CHAR: {
      if (wp == '\r' || wp == 27 || wp == '\t') return 0;
      const LRESULT r = CallDefault(msg, wp, lp);
      panel_->SizeEditor();
      return r;
    }
    case WM_KILLFOCUS: {
      const LRESULT r = CallDefault(msg, wp, lp);
      if (IsWindowVisible(Handle()) || !Cancelled) {
        Hide();
        if (!Cancelled) panel_->CommitEdit();
        Cancelled = true;
      }
      return r;
    }
  }
  return Window::HandleMessage(msg, wp, lp);
}

void TCustomImgPanel::BeginEdit(int index) {
  if (readOnly_ || !View.ShowCaptions() || !items_.Valid(index)) return;
  TPanelItem& item = items_[index];
  if (!HasAttributes(item, SFGAO_CANRENAME)) return;
  bool allow = true;
  if (OnEditing) OnEditing(*this, item, allow);
  if (!allow) return;
  SelectOnly(index);
  edit_.ItemIndex = index;
  edit_.Cancelled = false;
  const std::string name = shellview::DisplayName(ParentFolder(item), AsIdList(item.ItemIDList),
                                                  SHGDN_INFOLDER | SHGDN_FOREDITING);
  SetWindowPos(edit_.Handle(), HWND_TOP, item.CaptionRect.Left - 2, item.CaptionRect.Top - 2,
               item.CaptionRect.Width() + 8, item.CaptionRect.Height() + 4, 0);
  edit_.SetText(name);
  SizeEditor();
  SendMessageA(edit_.Handle(), EM_SETSEL, 0, -1);
  SendMessageA(edit_.Handle(), EM_SETMODIFY, FALSE, 0);
  edit_.Show();
  SetFocus(edit_.Handle());
}

void TCustomImgPanel::SizeEditor() {
  if (!backDc_ || !edit_.Handle()) return;
  const std::string text = edit_.Text();
  DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 0, 2, 2, 0};
  RECT r{0, 0, layout_.M.BoxWidth - 4, 0};
  SelectObject(backDc_.get(), font_);
  std::string measured = text.empty() ? " " : text;
  DrawTextExA(backDc_.get(), measured.data(), static_cast<int>(measured.size()), &r, 0x2E10,
              &params);
  const RECT b = edit_.Bounds();
  int left = b.left;
  const int width = (r.right - r.left) + 8;
  if (width != b.right - b.left && items_.Valid(edit_.ItemIndex)) {
    const RECT cell = ItemRect(edit_.ItemIndex, 2);
    left = (cell.left + cell.right) / 2 - width / 2;
  }
  const int height = std::min<int>((r.bottom - r.top) + 4, ClientHeight() - b.top);
  SetWindowPos(edit_.Handle(), nullptr, left, b.top, width, std::max(height, 1), SWP_NOZORDER);
  RECT format;
  GetClientRect(edit_.Handle(), &format);
  format.left += 2;
  format.right -= 2;
  SendMessageA(edit_.Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
}

void TCustomImgPanel::CloseEditor() {
  if (!edit_.Handle() || !IsWindowVisible(edit_.Handle())) return;
  edit_.Cancelled = true;
  const bool hadFocus = GetFocus() == edit_.Handle();
  edit_.Hide();
  if (hadFocus) SetFocus(Handle());
}

void TCustomImgPanel::CommitEdit() {
  if (!SendMessageA(edit_.Handle(), EM_GETMODIFY, 0, 0) || !items_.Valid(edit_.ItemIndex)) return;
  TPanelItem& item = items_[edit_.ItemIndex];
  std::string text = edit_.Text();
  if (OnEdited) OnEdited(*this, item, text);
  ShellChangeNotification.StopWatching();
  const bool ok = Rename(item, text);
  StartWatching();
  if (ok) {
    DrawCaption(edit_.ItemIndex);
    InvalidateCell(edit_.ItemIndex, 0);
  }
}

}  // namespace thumbpanel
