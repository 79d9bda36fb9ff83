#pragma once
// Small value types shared by the panel's core: colours, rectangles, enumerations and a
// bit-flag set over an enumeration.
#include <cstdint>
#include <initializer_list>

namespace thumbpanel {

// A Windows COLORREF (0x00BBGGRR). System colours are 0x80000000 | COLOR_ index and are
// resolved with GetSysColor when drawing.
using TColor = std::uint32_t;

constexpr TColor SysColor(int index) { return 0x80000000u | static_cast<std::uint32_t>(index); }
constexpr bool IsSysColor(TColor c) { return (c & 0xFF000000u) == 0x80000000u; }
constexpr int SysColorIndex(TColor c) { return static_cast<int>(c & 0xFFu); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWindowText = SysColor(8);            // COLOR_WINDOWTEXT
constexpr TColor clInactiveBorder = SysColor(11);       // COLOR_INACTIVEBORDER
constexpr TColor clHighlight = SysColor(13);            // COLOR_HIGHLIGHT
constexpr TColor clBtnShadow = SysColor(16);            // COLOR_BTNSHADOW
constexpr TColor clInactiveCaptionText = SysColor(19);  // COLOR_INACTIVECAPTIONTEXT
constexpr TColor clBtnHighlight = SysColor(20);         // COLOR_BTNHIGHLIGHT
constexpr TColor cl3DDkShadow = SysColor(21);           // COLOR_3DDKSHADOW
constexpr TColor cl3DLight = SysColor(22);              // COLOR_3DLIGHT

struct TPoint {
  int X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Left/top inclusive, right/bottom exclusive, as a Windows RECT.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  // Edges included on every side.
  bool ContainsClosed(TPoint p) const {
    return p.X >= Left && p.X <= Right && p.Y >= Top && p.Y <= Bottom;
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

enum TBevelCut : int { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle : int { bsNone, bsSingle };
enum TIconPosition : int { iipLeftTop, iipLeftBottom, iipRightTop, iipRightBottom, iipNone };
enum TViewMode : int { ivmFolder, ivmFile };
enum TSortTypeEx : int { istName, istSize, istType, istDate, istAttr };
enum TDragTypeItem : int { idtCopy, idtMove, idtLink };
enum TNotifyType : int {
  intFileName,
  intDirName,
  intAttributes,
  intSize,
  intLastWrite,
  intLastAccess,
  intCreation,
  intSecurity,
};
enum TContextMenuTypeItem : int {
  ictNormal,
  ictDefaultOnly,
  ictVerbsOnly,
  ictExplore,
  ictNoverbs,
  ictCanRename,
  ictNoDefault,
  ictIncludeStatic,
  ictReserved,
};

// A set of enumeration values (at most 32) as bits.
template <typename E>
class TFlags {
 public:
  constexpr TFlags() = default;
  constexpr TFlags(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }
  static constexpr TFlags FromBits(std::uint32_t bits) {
    TFlags f;
    f.bits_ = bits;
    return f;
  }
  constexpr bool Has(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr TFlags With(E e) const { return FromBits(bits_ | Bit(e)); }
  constexpr TFlags Without(E e) const { return FromBits(bits_ & ~Bit(e)); }
  constexpr std::uint32_t Bits() const { return bits_; }
  friend constexpr bool operator==(TFlags, TFlags) = default;

 private:
  static constexpr std::uint32_t Bit(E e) { return 1u << static_cast<int>(e); }
  std::uint32_t bits_ = 0;
};

using TDragType = TFlags<TDragTypeItem>;
using TNotifyTypes = TFlags<TNotifyType>;
using TContextMenuType = TFlags<TContextMenuTypeItem>;

}  // namespace thumbpanel
