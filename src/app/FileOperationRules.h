#pragma once
// The decisions of the main window's file operations that need no file system: the shell's
// path lists, which target a dropped entry goes to, when an existing target is replaced,
// which folders may be deleted, the press/drag thresholds and the message texts.
#include <cstddef>
#include <string>
#include <vector>

namespace app {

// The popup's choice for a drop (DropOperation).
enum TDropOperation {
  dopNone = 0,
  dopCopyNew = 1,
  dopMoveNew = 2,
  dopCopyOver = 3,
  dopMoveOver = 4
};
constexpr bool IsMove(int operation) { return operation == dopMoveNew || operation == dopMoveOver; }
constexpr bool Overwrites(int operation) {
  return operation == dopCopyOver || operation == dopMoveOver;
}

// The shell's file operation takes paths shorter than MAX_PATH; a longer one is refused
// rather than cut to a prefix that could name another file.
constexpr bool FitsShellOperation(std::size_t length) { return length > 0 && length < 260; }

// An existing target is replaced when asked to, or by a source that is newer (ages are
// packed date-times; -1 for a missing file).
constexpr bool ShouldReplace(bool overwrite, long long sourceAge, long long targetAge) {
  return overwrite || sourceAge > targetAge;
}

// Same drive letter (compared as written), never for network paths: a rename moves it.
bool SameDrive(const std::string& source, const std::string& target);

// Whether two paths name the same file (case-insensitive, trailing '\' ignored): such a
// copy or move must not run, since replacing a file by itself destroys it.
bool SamePath(const std::string& a, const std::string& b);

// Folder part of a dropped path, without a trailing '\' except for a root (DropSourceParent).
std::string DropSourceParentOf(const std::string& path);

// Target of an entry found in a dropped folder: its path relative to the dropped folder's
// parent, under the current folder. Empty when the entry does not lie under that parent.
std::string DropTarget(const std::string& currentFolder, const std::string& sourceParent,
                       const std::string& source);

// Whether dropping `dropped` into currentFolder would copy a folder into itself (the walk
// would find its own copies without end).
bool IsInsideDropped(const std::string& currentFolder, const std::string& dropped);

// Whether a dropped folder is walked at all: not when the current folder is the folder itself
// or lies inside it (the walk would meet its own copies), nor when its entries would land on
// themselves (the folder's parent is the current folder).
bool MayWalkDroppedFolder(const std::string& currentFolder, const std::string& dropped);

// What becomes of a folder found inside a dropped folder. A move on one drive renames it
// whole; otherwise its target folder is made, so empty folders survive a copy and a move
// across drives (their files follow one by one). An existing target is left as it is.
enum class TFolderEntryStep { Keep, Rename, Make };
constexpr TFolderEntryStep FolderEntryStep(bool move, bool sameDrive, bool targetExists) {
  if (targetExists) return TFolderEntryStep::Keep;
  return move && sameDrive ? TFolderEntryStep::Rename : TFolderEntryStep::Make;
}

// The folder a new folder is made in: the tree's selected path (a drive root without its
// backslash), a backslash and the name as entered.
std::string NewFolderPath(const std::string& treeSelected, const std::string& name);

// Roots and network paths are never deleted by the folder-delete command.
bool MayDeleteFolder(const std::string& currentFolder);

// A press becomes a context menu while the mouse stays within 3 px in both axes, and a
// drag once it moves more than 3 px in either axis.
bool WithinClickWindow(int pressX, int pressY, int x, int y);

// Message texts.
std::string CopyErrorMessage(const std::string& source, const std::string& target,
                             const std::string& error, bool move);
std::string FolderCreatedMessage(const std::string& folder);
std::string FolderCreateFailedMessage(const std::string& folder);
extern const char* const kRootDeleteRefused;

}  // namespace app
