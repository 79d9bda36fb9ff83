#pragma once
// The panel's published settings objects. Every setter stores a different value and then
// fires OnChange; an equal value fires nothing.
#include <cstdint>
#include <functional>
#include <string>

#include "imaging/ImageTypes.h"
#include "thumbpanel/OwnerMenu.h"
#include "thumbpanel/PanelTypes.h"

namespace thumbpanel {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject& Sender)>;

// Base of the settings objects: the one place that assigns and notifies.
class TChangeNotifier : public TObject {
 public:
  TNotifyEvent OnChange;

 protected:
  // Stores value in field; returns whether it changed (and then OnChange has fired).
  template <typename T>
  bool Assign(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    Changed();
    return true;
  }
  void Changed() {
    if (OnChange) OnChange(*this);
  }
};

// What the folder enumeration returns, with the extension filter.
class TDispTypes : public TChangeNotifier {
 public:
  TDispTypes();
  bool Folders() const { return folders_; }
  bool NonFolders() const { return nonFolders_; }
  bool Hidden() const { return hidden_; }
  const std::string& Ext() const { return ext_; }
  void SetFolders(bool v) { Assign(folders_, v); }
  void SetNonFolders(bool v) { Assign(nonFolders_, v); }
  void SetHidden(bool v) { Assign(hidden_, v); }
  // ";"-separated patterns: whole file names or "*" + extension ("*" alone admits names
  // without extension, "*.*" everything). Case-insensitive.
  void SetExt(const std::string& v);

  // The filter is active unless the pattern list admits everything.
  bool FilterActive() const;
  // Whether a path (or bare file name) passes the extension filter.
  bool Matches(const std::string& path) const;

 private:
  bool folders_ = true, nonFolders_ = true, hidden_ = true;
  std::string ext_ = "*.*";
  std::string matchList_;  // lower case, ";" at both ends
};

class TIconSpacing : public TChangeNotifier {
 public:
  int X() const { return x_; }
  int Y() const { return y_; }
  void SetX(int v) { Assign(x_, v); }
  void SetY(int v) { Assign(y_, v); }

 private:
  int x_ = 15, y_ = 32;
};

class TView : public TObject {
 public:
  TView();
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v);
  TDispTypes DispTypes;
  TIconSpacing IconSpacing;
  TNotifyEvent OnChange1;  // DispTypes changed: reload
  TNotifyEvent OnChange2;  // ShowCaptions or IconSpacing changed: re-layout and reload

 private:
  void Fire(const TNotifyEvent& e);
  bool showCaptions_ = true;
};

class TFrameStyle : public TChangeNotifier {
 public:
  TFrameStyle() = default;
  TFrameStyle(TColor color, int width) : color_(color), width_(width) {}
  bool Visible() const { return visible_; }
  TColor Color() const { return color_; }
  int Width() const { return width_; }
  void SetVisible(bool v) { Assign(visible_, v); }
  void SetColor(TColor v) { Assign(color_, v); }
  void SetWidth(int v) { Assign(width_, v); }
  // Copies Visible, Color and Width; one notification when anything changed.
  void AssignFrom(const TFrameStyle& other);
  // The band this style occupies: its width when visible, else 0.
  int Band() const { return visible_ ? width_ : 0; }

 private:
  bool visible_ = true;
  TColor color_ = clInactiveBorder;
  int width_ = 1;
};

class TSmallIcon : public TChangeNotifier {
 public:
  TIconPosition IconPos() const { return iconPos_; }
  int Space() const { return space_; }
  void SetIconPos(TIconPosition v) { Assign(iconPos_, v); }
  void SetSpace(int v) { Assign(space_, v); }
  void AssignFrom(const TSmallIcon& other) { SetIconPos(other.iconPos_); }

 private:
  TIconPosition iconPos_ = iipRightBottom;
  int space_ = 2;
};

class TBlankSpace : public TChangeNotifier {
 public:
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Right() const { return right_; }
  int Bottom() const { return bottom_; }
  void SetLeft(int v) { Assign(left_, v); }
  void SetTop(int v) { Assign(top_, v); }
  void SetRight(int v) { Assign(right_, v); }
  void SetBottom(int v) { Assign(bottom_, v); }
  int Horizontal() const { return left_ + right_; }
  int Vertical() const { return top_ + bottom_; }

 private:
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

using TDispImage = TFlags<imaging::TImageType>;
constexpr TDispImage AllImageTypes = TDispImage::FromBits((1u << (imaging::iitAvi + 1)) - 1);

// Icon types are always drawn with their shell icon and never get a thumbnail.
constexpr bool IsIconType(imaging::TImageType t) {
  using namespace imaging;
  return t == iitNone || t == iitIco || t == iitCur || t == iitAni || t == iitExe || t == iitDll ||
         t == iitDir;
}

// Image area, cell decoration and thumbnail behaviour. The loader itself lives on the
// Win32 side, which forwards its change notification through ForwardChange.
class TViewImage : public TChangeNotifier {
 public:
  TViewImage();
  int ImageWidth() const { return imageWidth_; }
  int ImageHeight() const { return imageHeight_; }
  TBevelCut BevelInner() const { return bevelInner_; }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  int BevelWidth() const { return bevelWidth_; }
  int BorderWidth() const { return borderWidth_; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  TDispImage DispImage() const { return dispImage_; }
  bool LookAhead() const { return lookAhead_; }
  bool BigIcon() const { return bigIcon_; }
  int BigIconSize() const { return bigIconSize_; }
  void SetImageWidth(int v) { Assign(imageWidth_, v); }
  void SetImageHeight(int v) { Assign(imageHeight_, v); }
  void SetBevelInner(TBevelCut v) { Assign(bevelInner_, v); }
  void SetBevelOuter(TBevelCut v) { Assign(bevelOuter_, v); }
  void SetBevelWidth(int v) { Assign(bevelWidth_, v); }
  void SetBorderWidth(int v) { Assign(borderWidth_, v); }
  void SetBorderStyle(TBorderStyle v) { Assign(borderStyle_, v); }
  void SetDispImage(TDispImage v) { Assign(dispImage_, v); }
  void SetLookAhead(bool v) { Assign(lookAhead_, v); }
  void SetBigIcon(bool v) { Assign(bigIcon_, v); }
  void SetBigIconSize(int v) { Assign(bigIconSize_, v); }
  void ForwardChange() { Changed(); }

  // Not an icon type and a member of DispImage.
  bool IsThumbnailType(imaging::TImageType t) const { return !IsIconType(t) && dispImage_.Has(t); }

  TFrameStyle Frame;
  TFrameStyle SelectFrame{clHighlight, 3};
  TSmallIcon SmallIcon;
  TBlankSpace BlankSpace;

 private:
  int imageWidth_ = 94, imageHeight_ = 94;
  TBevelCut bevelInner_ = bvNone, bevelOuter_ = bvNone;
  int bevelWidth_ = 1, borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
  TDispImage dispImage_ = AllImageTypes;
  bool lookAhead_ = false, bigIcon_ = false;
  int bigIconSize_ = 48;
};

// Default actions and drag-and-drop switches. Only DropTarget notifies.
class TDefaultExec : public TChangeNotifier {
 public:
  bool DblClick = true;
  bool ColumnSort = true;  // stored only
  bool DropSource = true;
  TDragType DragType{idtCopy, idtMove, idtLink};
  bool DropTarget() const { return dropTarget_; }
  void SetDropTarget(bool v) { Assign(dropTarget_, v); }

 private:
  bool dropTarget_ = true;
};

// Published settings of the change watcher. OnStop runs when Enabled is switched off.
class TShellChangeSettings : public TObject {
 public:
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  TNotifyTypes NotifyTypes() const { return notifyTypes_; }
  void SetNotifyTypes(TNotifyTypes v) { notifyTypes_ = v; }
  // FILE_NOTIFY_CHANGE_ flags of NotifyTypes.
  std::uint32_t Filter() const;
  std::function<void()> OnStop;

 private:
  bool enabled_ = true;
  TNotifyTypes notifyTypes_{intFileName, intDirName};
};

// Published values of the panel's popup menu. Enabled merges the shell's items in.
class TCustomImgPopupMenu : public TObject {
 public:
  TContextMenuType ContextMenuType{ictExplore, ictCanRename};
  int ShellMenuPos = 0;
  TPopupMenu* PopupMenu = nullptr;  // the owner's items, not owned
  bool Enabled = true;
};

}  // namespace thumbpanel
