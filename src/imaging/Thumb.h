#pragma once
// TThumb: made thumbnails kept as JPEG records in one file per folder (or per program),
// each with its image file's date so that a record goes stale when the image changes.
//
// File layout (little-endian, integers signed 32-bit, date-times TDateTime):
//   header  24 bytes: magic 127, version 103, tag (10 bytes, zero-filled), 2 zero bytes,
//           number of records
//   record  56-byte header (name length L, kind, data length D, thumbnail width and height,
//           padding, time written, image date, image size, source width and height,
//           reserved), then the image file name (L bytes) and the JPEG data (D bytes).
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Exception.h"
#include "base/FileIo.h"
#include "imaging/FileDate.h"

namespace imaging {

// The file does not start with the thumbnail file's magic number.
class EThumbError : public Exception {
 public:
  explicit EThumbError(const std::string& thumbFileName);
};

// Where the thumbnail file lives.
enum TPathType : int {
  iptFree,    // Path
  iptApp,     // the executable's folder
  iptFolder,  // the folder of the image concerned: one file per folder
  iptWin,     // the Windows folder
  iptTemp,    // the TEMP folder
};

// What TThumb needs of the system, injected so that tests are exact.
struct TThumbPlatform {
  std::string ExeName;     // full path of the executable
  std::string WindowsDir;  // as GetWindowsDirectoryA reports it
  std::string TempDir;     // value of the TEMP environment variable
  std::function<TDateTime()> Now;
  // Last-write date-time of an image file (local time, 2-second resolution) and its size;
  // false when there is no such file.
  std::function<bool(const std::string& path, TDateTime& date, std::int64_t& size)> ImageFile;
  // Creation date-time of a thumbnail file (local time), 0 when it reports none.
  std::function<TDateTime(const std::string& path)> CreationTime;
  // Puts source in place of target in one step; false when that fails (both untouched).
  std::function<bool(const std::string& source, const std::string& target)> ReplaceFile =
      base::ReplaceFileWith;
};

// Now, file dates and TEMP from the C runtime; WindowsDir is left to the Win32 layer.
TThumbPlatform DefaultThumbPlatform(std::string exeName);

inline constexpr std::int32_t kThumbMagic = 127;
inline constexpr std::int32_t kThumbVersion = 103;
inline constexpr int kThumbHeaderSize = 24;
inline constexpr int kThumbRecordHeaderSize = 56;

struct TThumbFileHeader {
  std::int32_t Magic = 0;
  std::int32_t Version = 0;
  char Tag[10] = {};
  std::int32_t Count = 0;
};

// The fields of one record's header; TImgUtil sets them before WriteThumb and reads them
// after ReadThumb.
struct TThumbRecord {
  std::int32_t NameLength = 0;
  std::int32_t Kind = 0;  // 0 = JPEG
  std::int32_t DataLength = 0;
  std::int32_t Width = 0;  // of the thumbnail
  std::int32_t Height = 0;
  TDateTime Written = 0;
  TDateTime ImageDate = 0;
  std::int32_t ImageSize = 0;
  std::int32_t SourceWidth = 0;
  std::int32_t SourceHeight = 0;
  std::int32_t Reserved = 0;
};

// One index entry: where a record is, whose it is and where the next one starts.
struct TThumbCach {
  std::int64_t Position = 0;
  std::string FileName;
  TDateTime ImageDate = 0;
  std::int64_t NextPosition = 0;
};

class TThumb {
 public:
  explicit TThumb(TThumbPlatform platform);
  ~TThumb();
  TThumb(const TThumb&) = delete;
  TThumb& operator=(const TThumb&) = delete;

  // Tag of the file header: at most 10 bytes, never ending inside a double-byte character.
  const std::string& AppName() const { return appName_; }
  void SetAppName(std::string_view value);
  const std::string& Path() const { return path_; }
  void SetPath(const std::string& value) { path_ = value; }
  // Empty: the executable's name with ".dat"; a name without extension gets ".dat".
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& value) { fileName_ = value; }
  TPathType PathType() const { return pathType_; }
  void SetPathType(TPathType value) { pathType_ = value; }
  // On: the file stays open between calls, keyed by its path. Off: it is closed.
  bool Active() const { return active_; }
  void SetActive(bool value);

  std::string GetThumbFileName(const std::string& imageFileName) const;

  // True and the JPEG data in stream, Record set, when an up-to-date record of the image
  // exists. A stale record (the image's date changed) is deleted.
  bool ReadThumb(const std::string& imageFileName, std::vector<std::uint8_t>& stream);
  // Appends a record made of Record's fields, the image's date and size and data.
  void WriteThumb(const std::string& imageFileName, std::span<const std::uint8_t> data);
  // Remove every record of the image (names compared ignoring case) by rewriting the file
  // through a ".~tmp" file; a file left without records is deleted. True when one was
  // removed. Throw EThumbError when the file is not a thumbnail file.
  bool DeleteThumb(const std::string& imageFileName);
  // All names must share one folder (the file is that of the first name).
  bool DeleteThumbs(std::vector<std::string> list);
  // Any names: sorted, split by folder, DeleteThumbs per folder; the last folder's result.
  bool DeleteThumbList(std::vector<std::string> list);

  TThumbRecord Record;

  const TThumbFileHeader& Header() const { return header_; }
  const std::vector<TThumbCach>& ThumbIndex() const { return index_; }
  // Records read by scanning so far (not through the index).
  std::uint64_t ScannedRecords() const { return scanned_; }

 private:
  class File;

  bool OpenThumbFile(const std::string& imageFileName, bool readWrite);
  void CloseThumbFile();
  void ImageFacts(const std::string& imageFileName, TDateTime& date, std::int32_t& size) const;
  static bool ReadRecord(File& file, std::int64_t fileSize, std::int64_t pos, std::uint8_t* bytes,
                         TThumbRecord& record, std::string& name);
  bool ReadRecordAt(std::int64_t pos, TThumbRecord& record, std::string& name);
  void AddToIndex(std::int64_t pos, const std::string& name, const TThumbRecord& record);
  bool DeleteRecords(const std::string& thumbFileName,
                     const std::function<bool(const std::string&)>& remove);

  TThumbPlatform platform_;
  std::string appName_, path_, fileName_;
  TPathType pathType_ = iptFree;
  bool active_ = false;

  std::unique_ptr<File> file_;
  std::int64_t fileSize_ = 0;
  std::string keptPath_;
  TThumbFileHeader header_;
  std::vector<TThumbCach> index_;
  std::string indexPath_;
  TDateTime indexTime_ = 0;
  std::uint64_t scanned_ = 0;
};

}  // namespace imaging
