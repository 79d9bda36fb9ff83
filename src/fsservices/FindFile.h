#pragma once
// TFindFile: walks a folder, optionally breadth-first through every subfolder, filters the
// entries by dates, size and attributes and reports each one with the folder it was found
// in. Window messages are let through between entries, so a walk can be stopped from the
// user interface with Abort(); it also stops when the program is ending.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "fsservices/FindFirstLoop.h"

namespace fsservices {

class EFindFileCancel : public Exception {
 public:
  using Exception::Exception;
};

// Which filters apply (a set of bits).
enum TFindCondition : std::uint32_t {
  fcLastWriteTime = 1u << 0,
  fcCreationTime = 1u << 1,
  fcLastAccessTime = 1u << 2,
  fcSize = 1u << 3,
  fcReadOnly = 1u << 4,
  fcHidden = 1u << 5,
  fcSystem = 1u << 6,
  fcDirectory = 1u << 7,
  fcArchive = 1u << 8,
};
using TFindConditions = std::uint32_t;

class TFindFile {
 public:
  explicit TFindFile(TFindPlatform& platform);
  TFindFile(const TFindFile&) = delete;
  TFindFile& operator=(const TFindFile&) = delete;

  // Time windows as packed local date-times (see PackedDateTime.h), stored as UTC file
  // times. 0 sets the widest bound; an invalid date-time is ignored.
  std::int32_t FromLastWriteTime() const { return ToPacked(fromLastWrite_); }
  std::int32_t ToLastWriteTime() const { return ToPacked(toLastWrite_); }
  std::int32_t FromCreationTime() const { return ToPacked(fromCreation_); }
  std::int32_t ToCreationTime() const { return ToPacked(toCreation_); }
  std::int32_t FromLastAccessTime() const { return ToPacked(fromLastAccess_); }
  std::int32_t ToLastAccessTime() const { return ToPacked(toLastAccess_); }
  void SetFromLastWriteTime(std::int32_t v) { StoreFrom(fromLastWrite_, v); }
  void SetToLastWriteTime(std::int32_t v) { StoreTo(toLastWrite_, v); }
  void SetFromCreationTime(std::int32_t v) { StoreFrom(fromCreation_, v); }
  void SetToCreationTime(std::int32_t v) { StoreTo(toCreation_, v); }
  void SetFromLastAccessTime(std::int32_t v) { StoreFrom(fromLastAccess_, v); }
  void SetToLastAccessTime(std::int32_t v) { StoreTo(toLastAccess_, v); }

  // Size window on the low 32 bits of the size; a negative MinSize accepts every size.
  std::int32_t MinSize = 0;
  std::int32_t MaxSize = 2147483647;
  // Wanted state of each attribute whose condition is set.
  bool AttrReadOnly = false;
  bool AttrArchive = false;
  bool AttrDirectory = false;
  bool AttrHidden = false;
  bool AttrSystem = false;
  TFindConditions Conditions = 0;
  bool SearchSubDir = false;
  std::string FileMask = "*.*";
  std::string DirMask = "*.*";
  bool ExceptionOnCancel = false;

  const std::string& BaseDir() const { return baseDir_; }
  // Values shorter than two bytes are ignored; one trailing "\" is removed unless it is
  // the trail byte of a double-byte character.
  void SetBaseDir(const std::string& dir);

  std::function<void(TFindFile& Sender, const TFindData& FindData, const std::string& CurrentDir,
                     bool& Cancel)>
      OnFind;

  // 0, kErrorCancelled or the platform error that ended the walk.
  std::uint32_t Run();
  // Stops a running walk at its next entry.
  void Abort() { abort_ = true; }
  bool Aborted() const { return abort_; }
  // The last walk stopped because the program is ending: its windows may be gone.
  bool Terminated() const { return terminated_; }
  // The folder being enumerated.
  const std::string& CurrentDir() const { return currentDir_; }

 private:
  std::int32_t ToPacked(std::uint64_t utc) const;
  void StoreFrom(std::uint64_t& field, std::int32_t packed);
  void StoreTo(std::uint64_t& field, std::int32_t packed);
  void Store(std::uint64_t& field, std::int32_t packed, std::int32_t widest);

  std::uint32_t WalkOneFolder();
  std::uint32_t WalkSubfolders();
  // Lets messages through; false when the walk is to stop.
  bool PumpMessages();
  void OnEntry(const TFindData& data, bool& cancel);
  void OnSubfolder(const TFindData& data, bool& cancel);
  bool Passes(const TFindData& data) const;

  TFindPlatform& platform_;
  TFindFirstLoop entries_;
  TFindFirstLoop subfolders_;
  std::vector<std::string> folders_;  // breadth-first list of folders, growing
  std::string baseDir_;
  std::string currentDir_;
  bool abort_ = false;
  bool terminated_ = false;
  std::uint64_t fromLastWrite_ = 0, toLastWrite_ = 0;
  std::uint64_t fromCreation_ = 0, toCreation_ = 0;
  std::uint64_t fromLastAccess_ = 0, toLastAccess_ = 0;
  // Filter chain of the running walk, fixed when it starts.
  TFindConditions activeConditions_ = 0;
  std::uint32_t requiredAttrs_ = 0, excludedAttrs_ = 0;
};

}  // namespace fsservices
