#include "fsservices/FindFile.h"

#include "base/Sjis.h"
#include "fsservices/PackedDateTime.h"

namespace fsservices {
namespace {

bool IsDotEntry(const TFindData& d) {
  const std::string name = FileNameOf(d);
  return name == "." || name == "..";
}

bool InWindow(std::uint64_t t, std::uint64_t from, std::uint64_t to) {
  return from <= t && t <= to;
}

}  // namespace

TFindFile::TFindFile(TFindPlatform& platform)
    : platform_(platform), entries_(platform), subfolders_(platform) {
  const std::uint64_t today = platform_.LocalNow() / kFileTimeDay * kFileTimeDay;
  const std::uint64_t todayUtc = platform_.LocalToUtc(today);
  const std::uint64_t tomorrowUtc = platform_.LocalToUtc(today + kFileTimeDay);
  fromLastWrite_ = fromCreation_ = fromLastAccess_ = todayUtc;
  toLastWrite_ = toCreation_ = toLastAccess_ = tomorrowUtc;
  SetBaseDir(platform_.WindowsDirectory());
  entries_.OnFind = [this](TFindFirstLoop&, const TFindData& d, bool& c) { OnEntry(d, c); };
  subfolders_.OnFind = [this](TFindFirstLoop&, const TFindData& d, bool& c) { OnSubfolder(d, c); };
}

std::int32_t TFindFile::ToPacked(std::uint64_t utc) const {
  return FileTimeToPacked(platform_.UtcToLocal(utc));
}

void TFindFile::StoreFrom(std::uint64_t& field, std::int32_t packed) {
  Store(field, packed, kPackedMin);
}

void TFindFile::StoreTo(std::uint64_t& field, std::int32_t packed) {
  Store(field, packed, kPackedMax);
}

void TFindFile::Store(std::uint64_t& field, std::int32_t packed, std::int32_t widest) {
  if (const auto local = PackedToFileTime(packed == 0 ? widest : packed))
    field = platform_.LocalToUtc(*local);
}

void TFindFile::SetBaseDir(const std::string& dir) {
  if (dir.size() < 2) return;
  baseDir_ = dir;
  const std::size_t last = baseDir_.size() - 1;
  if (baseDir_[last] == '\\' && base::IsCharStart(baseDir_, last)) baseDir_.erase(last);
}

std::uint32_t TFindFile::Run() {
  if (!OnFind) return 0;
  activeConditions_ = Conditions;
  requiredAttrs_ = excludedAttrs_ = 0;
  const struct {
    TFindCondition condition;
    std::uint32_t bit;
    bool wanted;
  } attrs[] = {{fcReadOnly, faReadOnly, AttrReadOnly},
               {fcHidden, faHidden, AttrHidden},
               {fcSystem, faSystem, AttrSystem},
               {fcDirectory, faDirectory, AttrDirectory},
               {fcArchive, faArchive, AttrArchive}};
  for (const auto& a : attrs)
    if (Conditions & a.condition) (a.wanted ? requiredAttrs_ : excludedAttrs_) |= a.bit;

  abort_ = terminated_ = false;
  const std::uint32_t result = SearchSubDir ? WalkSubfolders() : WalkOneFolder();
  if (result == kErrorCancelled && ExceptionOnCancel)
    throw EFindFileCancel("TFindFile.Run Cancelled");
  return result;
}

std::uint32_t TFindFile::WalkOneFolder() {
  currentDir_ = baseDir_;
  entries_.SetPath(currentDir_ + "\\" + FileMask);
  return entries_.Run();
}

std::uint32_t TFindFile::WalkSubfolders() {
  folders_.assign(1, baseDir_);
  for (std::size_t i = 0; i < folders_.size(); ++i) {
    currentDir_ = folders_[i];  // a copy: the list grows during the walk
    entries_.SetPath(currentDir_ + "\\" + FileMask);
    if (const std::uint32_t r = entries_.Run()) return r;
    subfolders_.SetPath(currentDir_ + "\\" + DirMask);
    if (const std::uint32_t r = subfolders_.Run()) return r;
  }
  return 0;
}

void TFindFile::OnEntry(const TFindData& data, bool& cancel) {
  if (!PumpMessages()) {
    cancel = true;
    return;
  }
  if (IsDotEntry(data) || !Passes(data)) return;
  // The handler may run a nested walk that moves CurrentDir; report the one of this entry.
  const std::string dir = currentDir_;
  OnFind(*this, data, dir, cancel);
}

void TFindFile::OnSubfolder(const TFindData& data, bool& cancel) {
  if (!PumpMessages()) {
    cancel = true;
    return;
  }
  if ((data.dwFileAttributes & faDirectory) && !IsDotEntry(data))
    folders_.push_back(currentDir_ + "\\" + FileNameOf(data));
}

bool TFindFile::PumpMessages() {
  if (!platform_.ProcessMessages()) terminated_ = abort_ = true;
  return !abort_;
}

bool TFindFile::Passes(const TFindData& d) const {
  const TFindConditions c = activeConditions_;
  if ((c & fcLastWriteTime) && !InWindow(d.ftLastWriteTime.Value(), fromLastWrite_, toLastWrite_))
    return false;
  if ((c & fcCreationTime) && (d.ftCreationTime.Value() == 0 ||
                               !InWindow(d.ftCreationTime.Value(), fromCreation_, toCreation_)))
    return false;
  if ((c & fcLastAccessTime) &&
      (d.ftLastAccessTime.Value() == 0 ||
       !InWindow(d.ftLastAccessTime.Value(), fromLastAccess_, toLastAccess_)))
    return false;
  if ((c & fcSize) &&
      (std::int64_t(d.nFileSizeLow) < MinSize || std::int64_t(d.nFileSizeLow) > MaxSize))
    return false;
  return (d.dwFileAttributes & requiredAttrs_) == requiredAttrs_ &&
         (d.dwFileAttributes & excludedAttrs_) == 0;
}

}  // namespace fsservices
