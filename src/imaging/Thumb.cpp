#include "imaging/Thumb.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>

#include "base/ByteOrder.h"
#include "base/Sjis.h"

namespace imaging {
namespace {

constexpr std::size_t kTagSize = 10;
constexpr std::int32_t kMaxNameLength = 32767;  // longer "names" are damage, not paths

class StreamError : public Exception {
 public:
  using Exception::Exception;
};

void PutI32(std::uint8_t* p, std::int32_t v) { base::PutLe32(p, std::uint32_t(v)); }
std::int32_t GetI32(const std::uint8_t* p) { return std::int32_t(base::Le32(p)); }
void PutF64(std::uint8_t* p, double v) {
  std::uint64_t u;
  std::memcpy(&u, &v, 8);
  base::PutLe64(p, u);
}
double GetF64(const std::uint8_t* p) {
  const std::uint64_t u = base::Le64(p);
  double v;
  std::memcpy(&v, &u, 8);
  return v;
}

// The 20 header bytes after the magic.
void EncodeHeaderRest(const TThumbFileHeader& h, std::uint8_t out[20]) {
  std::memset(out, 0, 20);
  PutI32(out, h.Version);
  std::memcpy(out + 4, h.Tag, kTagSize);
  PutI32(out + 16, h.Count);
}
void DecodeHeaderRest(const std::uint8_t in[20], TThumbFileHeader& h) {
  h.Version = GetI32(in);
  std::memcpy(h.Tag, in + 4, kTagSize);
  h.Count = GetI32(in + 16);
}

void EncodeRecord(const TThumbRecord& r, std::uint8_t out[kThumbRecordHeaderSize]) {
  std::memset(out, 0, kThumbRecordHeaderSize);
  PutI32(out, r.NameLength);
  PutI32(out + 4, r.Kind);
  PutI32(out + 8, r.DataLength);
  PutI32(out + 12, r.Width);
  PutI32(out + 16, r.Height);
  PutF64(out + 24, r.Written);
  PutF64(out + 32, r.ImageDate);
  PutI32(out + 40, r.ImageSize);
  PutI32(out + 44, r.SourceWidth);
  PutI32(out + 48, r.SourceHeight);
  PutI32(out + 52, r.Reserved);
}
void DecodeRecord(const std::uint8_t in[kThumbRecordHeaderSize], TThumbRecord& r) {
  r.NameLength = GetI32(in);
  r.Kind = GetI32(in + 4);
  r.DataLength = GetI32(in + 8);
  r.Width = GetI32(in + 12);
  r.Height = GetI32(in + 16);
  r.Written = GetF64(in + 24);
  r.ImageDate = GetF64(in + 32);
  r.ImageSize = GetI32(in + 40);
  r.SourceWidth = GetI32(in + 44);
  r.SourceHeight = GetI32(in + 48);
  r.Reserved = GetI32(in + 52);
}

std::int64_t RecordLength(const TThumbRecord& r) {
  return kThumbRecordHeaderSize + std::int64_t(r.NameLength) + r.DataLength;
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  return path.substr(0, path.size() - base::ExtractFileExt(path).size()) + ext;
}

// A system folder as at most 255 characters with exactly one trailing backslash.
std::string SystemFolder(const std::string& dir) {
  return base::ExcludeTrailingBackslash(base::CutAtCharBoundary(dir, 255)) + "\\";
}

// A thumbnail file holds its whole header, or only the magic while it is being created.
bool HasWholeHeader(std::int64_t size) { return size == 4 || size >= kThumbHeaderSize; }

void TagFromAppName(const std::string& appName, char tag[kTagSize]) {
  std::memset(tag, 0, kTagSize);
  std::memcpy(tag, appName.data(), std::min(appName.size(), kTagSize));
}

}  // namespace

// A C stdio file whose failures throw StreamError.
class TThumb::File {
 public:
  File(const std::string& path, const char* mode) : f_(std::fopen(path.c_str(), mode)) {
    if (!f_) throw StreamError("Cannot open file " + path);
  }
  ~File() {
    if (f_) std::fclose(f_);
  }
  void Read(void* p, std::size_t n) {
    if (n && std::fread(p, 1, n, f_) != n) throw StreamError("Stream read error");
  }
  void Write(const void* p, std::size_t n) {
    if (n && std::fwrite(p, 1, n, f_) != n) throw StreamError("Stream write error");
  }
  void Seek(std::int64_t pos, int whence = SEEK_SET) {
#ifdef _WIN32
    const int r = _fseeki64(f_, pos, whence);
#else
    const int r = fseeko(f_, off_t(pos), whence);
#endif
    if (r != 0) throw StreamError("Stream seek error");
  }
  std::int64_t Size() {
    Seek(0, SEEK_END);
#ifdef _WIN32
    return _ftelli64(f_);
#else
    return std::int64_t(ftello(f_));
#endif
  }
  // Flushes and closes; false when buffered data could not be written.
  bool Close() {
    const bool ok = std::fclose(f_) == 0;
    f_ = nullptr;
    return ok;
  }

 private:
  std::FILE* f_;
};

EThumbError::EThumbError(const std::string& thumbFileName)
    : Exception(thumbFileName + "\r\n  はサムネイルファイルではありません") {}

TThumbPlatform DefaultThumbPlatform(std::string exeName) {
  TThumbPlatform p;
  p.ExeName = std::move(exeName);
  if (const char* temp = std::getenv("TEMP")) p.TempDir = temp;
  p.Now = &NowDateTime;
  p.ImageFile = [](const std::string& path, TDateTime& date, std::int64_t& size) {
    const FileFacts f = StatFile(path);
    if (!f.exists) return false;
    date = LocalDateTime(f.lastWrite & ~std::time_t(1));  // file-system dates: 2 seconds
    size = f.size;
    return true;
  };
  p.CreationTime = [](const std::string& path) {
    const FileFacts f = StatFile(path);
    return f.exists ? LocalDateTime(f.created) : 0.0;
  };
  return p;
}

TThumb::TThumb(TThumbPlatform platform) : platform_(std::move(platform)) {}

TThumb::~TThumb() { SetActive(false); }

void TThumb::SetAppName(std::string_view value) {
  if (value != appName_) appName_ = std::string(base::CutAtCharBoundary(value, kTagSize));
}

void TThumb::SetActive(bool value) {
  if (!value) {
    keptPath_.clear();
    file_.reset();
  }
  active_ = value;
}

std::string TThumb::GetThumbFileName(const std::string& imageFileName) const {
  std::string folder;
  switch (pathType_) {
    case iptFree:
      folder = base::IncludeTrailingBackslash(path_);
      break;
    case iptApp:
      folder = base::ExtractFilePath(platform_.ExeName);
      break;
    case iptFolder:
      folder = base::ExtractFilePath(imageFileName);
      break;
    case iptWin:
      folder = SystemFolder(platform_.WindowsDir);
      break;
    case iptTemp:
      folder = SystemFolder(platform_.TempDir);
      break;
  }
  std::string name = fileName_;
  if (name.empty())
    name = ChangeFileExt(base::ExtractFileName(platform_.ExeName), ".dat");
  else if (base::ExtractFileExt(name).empty())
    name += ".dat";
  return folder + name;
}

bool TThumb::OpenThumbFile(const std::string& imageFileName, bool readWrite) {
  const std::string path = GetThumbFileName(imageFileName);
  if (active_) {
    if (file_ && path == keptPath_) return true;
    SetActive(false);
    SetActive(true);
    readWrite = true;
  }
  try {
    if (StatFile(path).exists) {
      file_ = std::make_unique<File>(path, readWrite ? "r+b" : "rb");
      fileSize_ = file_->Size();
      file_->Seek(0);
      if (!HasWholeHeader(fileSize_)) throw EThumbError(path);
      std::uint8_t bytes[20];
      file_->Read(bytes, 4);
      if (GetI32(bytes) != kThumbMagic) throw EThumbError(path);
      header_ = TThumbFileHeader{};
      header_.Magic = kThumbMagic;
      // A file holding only the magic was created and not yet written to: no records.
      if (fileSize_ != 4) {
        file_->Read(bytes, 20);
        DecodeHeaderRest(bytes, header_);
      }
      const TDateTime created = platform_.CreationTime(path);
      if (path != indexPath_ || created != indexTime_) {
        index_.clear();
        indexPath_ = path;
        indexTime_ = created;
      }
    } else {
      if (!readWrite) return false;
      file_ = std::make_unique<File>(path, "w+b");
      std::uint8_t magic[4];
      PutI32(magic, kThumbMagic);
      file_->Write(magic, 4);
      fileSize_ = 4;
      header_ = TThumbFileHeader{};
      header_.Magic = kThumbMagic;
      index_.clear();
      indexPath_.clear();
      indexTime_ = 0;
    }
  } catch (const std::exception&) {
    file_.reset();
    return false;
  }
  if (active_) keptPath_ = path;
  return true;
}

void TThumb::CloseThumbFile() {
  if (!active_) file_.reset();
}

void TThumb::ImageFacts(const std::string& imageFileName, TDateTime& date,
                        std::int32_t& size) const {
  std::int64_t bytes = 0;
  if (platform_.ImageFile(imageFileName, date, bytes)) {
    size = std::int32_t(std::min<std::int64_t>(bytes, std::numeric_limits<std::int32_t>::max()));
  } else {
    date = platform_.Now();
    size = 0;
  }
}

// Reads the record header (raw bytes and fields) and the name at pos; false at the end of
// the file or when the record does not fit in it.
bool TThumb::ReadRecord(File& file, std::int64_t fileSize, std::int64_t pos, std::uint8_t* bytes,
                        TThumbRecord& record, std::string& name) {
  if (pos < kThumbHeaderSize || pos + kThumbRecordHeaderSize > fileSize) return false;
  file.Seek(pos);
  file.Read(bytes, kThumbRecordHeaderSize);
  DecodeRecord(bytes, record);
  if (record.NameLength < 0 || record.NameLength > kMaxNameLength || record.DataLength < 0 ||
      pos + RecordLength(record) > fileSize)
    return false;
  name.resize(std::size_t(record.NameLength));
  file.Read(name.data(), name.size());
  return true;
}

bool TThumb::ReadRecordAt(std::int64_t pos, TThumbRecord& record, std::string& name) {
  std::uint8_t bytes[kThumbRecordHeaderSize];
  return ReadRecord(*file_, fileSize_, pos, bytes, record, name);
}

void TThumb::AddToIndex(std::int64_t pos, const std::string& name, const TThumbRecord& record) {
  if (name.empty()) return;
  for (const TThumbCach& e : index_)
    if (e.FileName == name && e.ImageDate == record.ImageDate) return;
  index_.push_back({pos, name, record.ImageDate, pos + RecordLength(record)});
}

bool TThumb::ReadThumb(const std::string& imageFileName, std::vector<std::uint8_t>& stream) {
  if (!OpenThumbFile(imageFileName, false)) return false;
  struct Closer {
    TThumb* t;
    ~Closer() { t->CloseThumbFile(); }
  } closer{this};

  TDateTime date;
  std::int32_t size;
  ImageFacts(imageFileName, date, size);

  TThumbRecord record;
  std::string name;
  std::int64_t pos = kThumbHeaderSize;
  bool fromIndex = false;
  const auto hit = std::find_if(index_.begin(), index_.end(),
                                [&](const TThumbCach& e) { return e.FileName == imageFileName; });
  if (hit != index_.end()) {
    if (hit->ImageDate != date) {
      DeleteThumb(imageFileName);
      return false;
    }
    pos = hit->Position;
    fromIndex = ReadRecordAt(pos, record, name) && name == imageFileName;
    if (!fromIndex) {  // the file changed behind the index: forget it and scan afresh
      index_.clear();
      pos = kThumbHeaderSize;
    }
  } else {
    if (std::int64_t(index_.size()) >= header_.Count) return false;
    if (!index_.empty()) pos = index_.back().NextPosition;
  }
  if (!fromIndex) {
    for (;;) {
      if (!ReadRecordAt(pos, record, name)) return false;
      ++scanned_;
      if (base::SameText(name, imageFileName)) break;
      AddToIndex(pos, name, record);
      pos += RecordLength(record);
    }
  }
  if (record.ImageDate != date) {
    DeleteThumb(imageFileName);
    return false;
  }
  stream.resize(std::size_t(record.DataLength));
  file_->Read(stream.data(), stream.size());
  Record = record;
  if (!fromIndex) AddToIndex(pos, name, record);
  return true;
}

void TThumb::WriteThumb(const std::string& imageFileName, std::span<const std::uint8_t> data) {
  if (imageFileName.size() > std::size_t(kMaxNameLength) ||
      data.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
    throw StreamError("Stream write error");
  if (!OpenThumbFile(imageFileName, true)) return;
  struct Closer {
    TThumb* t;
    ~Closer() { t->CloseThumbFile(); }
  } closer{this};

  header_.Version = kThumbVersion;
  TagFromAppName(appName_, header_.Tag);
  // The count is a 32-bit field: a damaged one wraps as the field does.
  header_.Count = std::int32_t(std::uint32_t(header_.Count) + 1);
  std::uint8_t bytes[kThumbRecordHeaderSize];
  EncodeHeaderRest(header_, bytes);
  file_->Seek(4);
  file_->Write(bytes, 20);

  const std::int64_t pos = file_->Size();
  TThumbRecord record = Record;
  record.NameLength = std::int32_t(imageFileName.size());
  record.DataLength = std::int32_t(data.size());
  record.Written = platform_.Now();
  ImageFacts(imageFileName, record.ImageDate, record.ImageSize);
  EncodeRecord(record, bytes);
  file_->Seek(pos);
  file_->Write(bytes, sizeof bytes);
  file_->Write(imageFileName.data(), imageFileName.size());
  file_->Write(data.data(), data.size());
  fileSize_ = pos + RecordLength(record);
  Record = record;
  if (std::int64_t(header_.Count) == std::int64_t(index_.size()) + 1)
    AddToIndex(pos, imageFileName, record);
}

bool TThumb::DeleteThumb(const std::string& imageFileName) {
  return DeleteRecords(GetThumbFileName(imageFileName), [&](const std::string& name) {
    return base::SameText(name, imageFileName);
  });
}

bool TThumb::DeleteThumbs(std::vector<std::string> list) {
  if (list.empty()) return false;
  const std::string path = GetThumbFileName(list.front());
  std::set<std::string> names;
  for (const std::string& name : list) names.insert(base::AnsiLowerCase(name));
  return DeleteRecords(
      path, [&](const std::string& name) { return names.count(base::AnsiLowerCase(name)) != 0; });
}

bool TThumb::DeleteThumbList(std::vector<std::string> list) {
  if (list.empty()) return false;
  auto folder = [](const std::string& name) {
    return base::AnsiLowerCase(base::ExtractFilePath(name));
  };
  std::sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
    const std::string la = base::AnsiLowerCase(a), lb = base::AnsiLowerCase(b);
    return la != lb ? la < lb : a < b;
  });
  bool result = false;
  std::size_t start = 0;
  for (std::size_t i = 1; i <= list.size(); ++i) {
    if (i == list.size() || folder(list[i]) != folder(list[i - 1])) {
      result = DeleteThumbs(std::vector<std::string>(list.begin() + std::ptrdiff_t(start),
                                                     list.begin() + std::ptrdiff_t(i)));
      start = i;
    }
  }
  return result;
}

bool TThumb::DeleteRecords(const std::string& path,
                           const std::function<bool(const std::string&)>& remove) {
  const bool wasActive = active_;
  SetActive(false);
  struct Restore {
    TThumb* t;
    bool active;
    ~Restore() { t->SetActive(active); }
  } restore{this, wasActive};
  if (!StatFile(path).exists) return false;

  const std::string temp = ChangeFileExt(path, ".~tmp");
  struct Removed {
    std::int64_t pos, length;
  };
  std::vector<Removed> removed;
  std::int64_t written = kThumbHeaderSize;
  try {
    File out(temp, "wb");
    File in(path, "rb");
    const std::int64_t size = in.Size();
    in.Seek(0);
    std::uint8_t bytes[kThumbRecordHeaderSize];
    if (!HasWholeHeader(size)) throw EThumbError(path);
    in.Read(bytes, 4);
    if (GetI32(bytes) != kThumbMagic) throw EThumbError(path);
    TThumbFileHeader header;
    if (size != 4) {
      in.Read(bytes, 20);
      DecodeHeaderRest(bytes, header);
    }
    header.Version = kThumbVersion;
    TagFromAppName(appName_, header.Tag);
    PutI32(bytes, kThumbMagic);
    EncodeHeaderRest(header, bytes + 4);
    out.Write(bytes, kThumbHeaderSize);

    // A damaged tail ends the copy.
    std::uint32_t kept = 0;  // written as the 32-bit field it is
    std::vector<std::uint8_t> buffer;
    TThumbRecord record;
    std::string name;
    std::int64_t pos = kThumbHeaderSize;
    while (ReadRecord(in, size, pos, bytes, record, name)) {
      const std::int64_t length = RecordLength(record);
      if (remove(name)) {
        removed.push_back({pos, length});
      } else {
        buffer.resize(std::size_t(record.DataLength));
        in.Read(buffer.data(), buffer.size());
        out.Write(bytes, kThumbRecordHeaderSize);
        out.Write(name.data(), name.size());
        out.Write(buffer.data(), buffer.size());
        written += length;
        ++kept;
      }
      pos += length;
    }
    if (written > kThumbHeaderSize) {
      std::uint8_t count[4];
      base::PutLe32(count, kept);
      out.Seek(20);
      out.Write(count, 4);
    }
    if (!out.Close()) throw StreamError("Stream write error");
  } catch (...) {
    std::remove(temp.c_str());
    throw;
  }

  // Only a complete copy replaces the file, in one step. A file that cannot be replaced or
  // removed keeps its records, and nothing was removed.
  bool replaced;
  if (written == kThumbHeaderSize) {
    std::remove(temp.c_str());
    replaced = std::remove(path.c_str()) == 0;
  } else {
    replaced = platform_.ReplaceFile(temp, path);
    if (!replaced) std::remove(temp.c_str());
  }
  if (!replaced) return false;

  // The index of a file created by this object has no path until the file is reopened.
  if ((path == indexPath_ || indexPath_.empty()) && !removed.empty()) {
    std::vector<TThumbCach> adjusted;
    for (TThumbCach e : index_) {
      std::int64_t shift = 0;
      bool gone = false;
      for (const Removed& r : removed) {
        if (r.pos == e.Position) gone = true;
        if (r.pos < e.Position) shift += r.length;
      }
      if (gone) continue;
      e.Position -= shift;
      e.NextPosition -= shift;
      adjusted.push_back(std::move(e));
    }
    index_ = std::move(adjusted);
  }
  return !removed.empty();
}

}  // namespace imaging
