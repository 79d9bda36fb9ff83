#include "imaging/ImgUtils.h"

#include "codecs/ImageDecoder.h"

#include "imaging/ImageFormats.h"
#include "imaging/ImgUtilsRules.h"
#include "imaging/JpegScaled.h"
#include "imaging/Thumb.h"
#include "imaging/SPlugin.h"
#include "imaging/CustomLoader.h"

namespace imaging {

bool FileOrFolderExists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {
bool FolderExists(const std::string& name) {
  const DWORD a = GetFileAttributesA(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint64_t FileBytes(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) return 0;
  return std::uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}
}  // namespace

void TImgUtil::SetQuality(int value) {
  if (value >= 1 && value <= 100) quality_ = value;
}
void TImgUtil::SetPerformance(codecs::JpegPerformance value) { performance_ = value; }
void TImgUtil::SetSusiePriority(bool value) { susiePriority_ = value; }
void TImgUtil::SetAutoThumb(bool value) { autoThumb_ = value; }

void TImgUtil::SetBKColor(COLORREF value) {
  if (value == bkColor_) return;
  bkColor_ = value;
  if (OnChange) OnChange(*this);
}

void TImgUtil::SetAviFramePos(int value) {
  if (value >= 0 && value <= 100) aviFramePos_ = value;
}

int TImgUtil::GetImage(const std::string& FileName, int Width, int IconIndex, int Height) {
  ImageType = iitNone;
  Bitmap = base::Bitmap();
  if (!FileOrFolderExists(FileName)) return 1;
  if (GetImageType(FileName) != 0) return GetIcon(FileName, IconIndex);
  switch (ImageType) {
    case iitIco:
    case iitCur:
    case iitAni:
    case iitExe:
    case iitDll:
    case iitDir:
      return GetIcon(FileName, IconIndex);
    default:
      break;
  }
  if (getType_ != igtNormal && autoThumb_ && LoadThumbnail(FileName, Width, Height)) return 0;
  int result;
  try {
    // Transparent pixels show the background, as icons do. A thumbnail reduces the rows of
    // most formats as they come; a picture it must hold whole is never much larger than its
    // file can justify.
    codecs::DecodeSettings settings;
    settings.background = base::BgrFromColorRef(bkColor_);
    if (getType_ != igtNormal) settings.pixelBudget = ThumbnailPixelBudget(FileBytes(FileName));
    const codecs::ScopedDecodeSettings scope(settings);
    result = LoadByKind(FileName, Width, Height);
  } catch (...) {
    GetIcon(FileName, 0);
    return -1;
  }
  if (result != 0) {
    GetIcon(FileName, 0);
    return result;
  }
  SaveThumbnail(FileName);
  return 0;
}

int TImgUtil::GetImageType(const std::string& FileName) {
  ImageType = iitNone;
  if (CustomLoader && CustomLoader->CanLoad(FileName)) {
    ImageType = iitCustom;
    return 0;
  }
  const std::string ext = LoaderExtension(FileName);
  if (ext.empty()) {
    if (IsDriveRootName(FileName) || FolderExists(FileName)) {
      ImageType = iitDir;
      return 0;
    }
    return 3;
  }
  if (const TImageType kind = KindOfExtension(ext); kind != iitNone) {
    ImageType = kind;
    return 0;
  }
  if (SPlugin && SPlugin->FindPlugin(FileName) != -1) {
    ImageType = iitSusie;
    return 0;
  }
  return 3;
}

void TImgUtil::FitBitmap(base::Bitmap& Bitmap, int Width, int Height) const {
  imaging::FitBitmap(Bitmap, Width, Height, getType_);
}

void TImgUtil::ResizeBitmap(base::Bitmap* Bitmap, int Width, int Height) {
  if (Bitmap) imaging::ResizeBitmap(*Bitmap, Width, Height);
}

int TImgUtil::LoadByKind(const std::string& FileName, int Width, int Height) {
  switch (ImageType) {
    case iitCustom: {
      if (getType_ == igtNormal) {
        if (!CustomLoader->LoadFile(FileName, Bitmap)) return -1;
        NoteSource();
        return 0;
      }
      FitSize source;
      if (!CustomLoader->LoadFileForBox(FileName, Width, Height, getType_, Bitmap, source))
        return -1;
      SourceWidth = source.width;
      SourceHeight = source.height;
      return 0;
    }
    case iitBmp:
      return LoadBmp(FileName, Width, Height);
    case iitJpeg:
      return LoadJpeg(FileName, Width, Height);
    case iitEmf:
    case iitWmf:
      return LoadMetafile(FileName, Width, Height);
    case iitHtml:
    case iitEml:
      return LoadShellPage(FileName, Width, Height);
    case iitTxt:
      return LoadTextPage(FileName, Width, Height);
    case iitAvi:
      return LoadAvi(FileName, Width, Height);
    default:
      return LoadSusie(FileName, Width, Height);
  }
}

int TImgUtil::LoadSusie(const std::string& FileName, int Width, int Height) {
  // A host that reports failure, or success without a picture, is a failed load.
  if (!SPlugin || SPlugin->LoadPicture(FileName, Bitmap) != 0 || Bitmap.Empty()) return -1;
  NoteSource();
  Size(Width, Height);
  return 0;
}

bool TImgUtil::LoadThumbnail(const std::string& FileName, int Width, int Height) {
  if (!Thumbnail) return false;
  std::vector<std::uint8_t> stream;
  if (!Thumbnail->ReadThumb(FileName, stream)) return false;
  SourceWidth = Thumbnail->Record.SourceWidth;
  SourceHeight = Thumbnail->Record.SourceHeight;
  Bitmap = LoadJpegScaled(stream, Width, Height, getType_, performance_);
  return true;
}

void TImgUtil::SaveThumbnail(const std::string& FileName) {
  if (getType_ == igtNormal || !autoThumb_ || !Thumbnail) return;
  TThumbRecord& r = Thumbnail->Record;
  r.Kind = 0;
  r.Width = Bitmap.Width();
  r.Height = Bitmap.Height();
  r.SourceWidth = SourceWidth;
  r.SourceHeight = SourceHeight;
  r.Reserved = 0;
  Thumbnail->WriteThumb(FileName, codecs::EncodeJpeg(Bitmap.View(), quality_));
}

}  // namespace imaging
