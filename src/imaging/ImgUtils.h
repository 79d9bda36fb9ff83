#pragma once
// TImgUtil: one file name in, one bitmap out. Classifies the file by its name, runs the
// loader of its kind, substitutes the shell icon, a text page, a video frame or a
// shell-rendered page where the file is no picture, and sizes the result to a box.
#include <windows.h>
#include <vfw.h>

#include <functional>
#include <string>

#include "base/Bitmap.h"
#include "codecs/Jpeg.h"
#include "imaging/ImageTypes.h"
#include "imaging/Resize.h"

namespace imaging {

class TThumb;
class TSPlugin;
class TImgCustom;

// The text page's font. Height in pixels as CreateFont takes it (negative: character
// height); Color kWindowTextColor means the system's window-text colour.
inline constexpr COLORREF kWindowTextColor = 0xFF000000 | COLOR_WINDOWTEXT;
struct TImgFont {
  std::string Name = "ＭＳ Ｐゴシック";
  int Height = -16;  // size 12 at 96 dpi
  BYTE Charset = SHIFTJIS_CHARSET;
  COLORREF Color = kWindowTextColor;
  friend bool operator==(const TImgFont&, const TImgFont&) = default;
};

class TImgUtil {
 public:
  TImgUtil() = default;
  TImgUtil(const TImgUtil&) = delete;
  TImgUtil& operator=(const TImgUtil&) = delete;

  // 0: Bitmap holds the picture (or the shell icon of an unknown kind or a folder);
  // 1: no such file or folder (Bitmap empty), or the text page could not be laid out;
  // -1: the kind's loader failed, Bitmap holds the file's shell icon.
  int GetImage(const std::string& FileName, int Width, int IconIndex, int Height);
  // 0 with ImageType set when a kind was found, else 3 (iitNone).
  int GetImageType(const std::string& FileName);
  // The file's icon (IconIndex 0: its associated shell icon) on BKColor; 0.
  int GetIcon(const std::string& FileName, int IconIndex);
  void FitBitmap(base::Bitmap& Bitmap, int Width, int Height) const;
  static void ResizeBitmap(base::Bitmap* Bitmap, int Width, int Height);

  // The result; replaced at every load.
  base::Bitmap Bitmap;
  TImageType ImageType = iitNone;
  int SourceWidth = 0;
  int SourceHeight = 0;
  AVISTREAMINFOA AviInfo{};

  // Attached companions, not owned.
  TThumb* Thumbnail = nullptr;
  TSPlugin* SPlugin = nullptr;
  TImgCustom* CustomLoader = nullptr;

  int Quality() const { return quality_; }
  void SetQuality(int value);
  codecs::JpegPerformance Performance() const { return performance_; }
  void SetPerformance(codecs::JpegPerformance value);
  bool SusiePriority() const { return susiePriority_; }
  void SetSusiePriority(bool value);
  bool AutoThumb() const { return autoThumb_; }
  void SetAutoThumb(bool value);
  const TImgFont& Font() const { return font_; }
  void SetFont(const TImgFont& value) { font_ = value; }
  TGetType GetType() const { return getType_; }
  void SetGetType(TGetType value) { getType_ = value; }
  COLORREF BKColor() const { return bkColor_; }
  void SetBKColor(COLORREF value);
  int AviFramePos() const { return aviFramePos_; }
  void SetAviFramePos(int value);

  std::function<void(TImgUtil& sender)> OnChange;  // BKColor changed

 private:
  int LoadByKind(const std::string& FileName, int Width, int Height);
  void NoteSource() {
    SourceWidth = Bitmap.Width();
    SourceHeight = Bitmap.Height();
  }
  void Size(int Width, int Height) { FitBitmap(Bitmap, Width, Height); }
  int LoadBmp(const std::string& FileName, int Width, int Height);
  int LoadJpeg(const std::string& FileName, int Width, int Height);
  int LoadMetafile(const std::string& FileName, int Width, int Height);
  int LoadShellPage(const std::string& FileName, int Width, int Height);
  int LoadTextPage(const std::string& FileName, int Width, int Height);
  int LoadAvi(const std::string& FileName, int Width, int Height);
  int LoadSusie(const std::string& FileName, int Width, int Height);
  bool ExtractShellImage(const std::string& FileName, base::Bitmap& Bitmap);
  int GetAviFrame(const std::string& FileName, base::Bitmap& Bitmap, int Percent);
  // Thumbnail file hooks (only with AutoThumb on, a Thumbnail attached, not igtNormal).
  bool LoadThumbnail(const std::string& FileName, int Width, int Height);
  void SaveThumbnail(const std::string& FileName);

  int quality_ = 90;
  codecs::JpegPerformance performance_ = codecs::JpegPerformance::jpBestSpeed;
  bool susiePriority_ = false;
  bool autoThumb_ = false;
  TImgFont font_;
  TGetType getType_ = igtPreview;
  COLORREF bkColor_ = 0xFFFFFF;
  int aviFramePos_ = 20;
};

// Whether a file or folder of that name exists.
bool FileOrFolderExists(const std::string& name);

}  // namespace imaging
