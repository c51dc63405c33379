// The extraction core the library and the self-extractors share: where an
// entry goes below the destination (the one name-safety rule, the link
// check, the wide name on disk), and writing one file entry so that a
// damaged entry, a full disk or a cancel never replaces a good file or leaves
// a half-written one.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "archiver/lzh/folder_memo.h"
#include "archiver/lzh/reader.h"
#include "archiver/lzh/safe_path.h"
#include "archiver/win/overwrite_question.h"

namespace winfs {

// The folder an archive is extracted into, made and resolved once.
class Destination {
 public:
  // Makes `folder` (relative to the current folder, "" meaning it); false
  // with *error when it cannot be made.
  bool Prepare(const std::wstring& folder, DWORD* error);
  // Full path with one trailing separator.
  const std::wstring& path() const { return path_; }

  // Where `header` goes: below the destination with its folders when
  // `keep_folders`, else its last component only. kEmpty for a directory
  // entry that names the destination itself; kParentDir also when a link
  // already in the destination would carry the entry elsewhere.
  lzh::PathVerdict Target(const lzh::Header& header, bool keep_folders, std::wstring* target) const;

  // Makes `folder` (a Target or its parent) and the folders above it up to
  // the destination, remembering every one made or found: entries in a
  // folder seen before cost no call to the system, and a deep new folder
  // one probe and one make per level. False with *error (if given) when a
  // file holds one of the names (ERROR_ALREADY_EXISTS) or the system refuses.
  bool MakeFolders(const std::wstring& folder, DWORD* error);

 private:
  std::wstring path_;
  struct Probe {
    lzh::DiskObject operator()(const std::wstring& path) const;
  };
  struct Make {
    DWORD* error;
    lzh::PathSet<std::wstring>* made;
    bool operator()(const std::wstring& path) const;
  };
  std::unique_ptr<lzh::FolderMemo<std::wstring, Probe, Make>> folders_;
  std::unique_ptr<DWORD> make_error_{new DWORD(0)};
  // Folders this extraction made (nothing of anyone else's is in them yet),
  // and folders found to stay below the destination.
  std::unique_ptr<lzh::PathSet<std::wstring>> made_{new lzh::PathSet<std::wstring>};
  mutable lzh::PathSet<std::wstring> checked_;
  std::wstring resolved_;  // links followed; "" when the system cannot tell
};

// The entry's exact name as UTF-8 with '/' separators: the Unicode name
// headers where present, the rest of the stored name read as CP932 (or as
// UTF-8 when the archive says so).
std::string ExactName(const lzh::Header& header);

// The stored name split into safe components, each as a wide name for the
// disk: the exact name where the header carries one.
lzh::PathVerdict EntryComponents(const lzh::Header& header, std::vector<std::wstring>* components);

// Forgets Unicode name headers that say nothing the CP932 name does not
// (some archivers write them for every entry), so that such an entry is the
// same entry as one of that CP932 name.
void DropSpellableUnicodeName(lzh::Header* header);

// Writes file entry `header` to `target`, whose folder exists: decoded into
// a work file beside it, given the entry's times, renamed over `target` only
// when complete, then given `attributes` (0: normal). A file already at
// `target` (found by the create of the name failing, not by a look-up) is
// replaced only when `existing` says so, read-only or not; with no
// `existing` it is replaced. Returns kOk (*kept when the file there was
// kept), kCancelled, a data error of the reader, or kWriteError with
// *win_error set (ERROR_DISK_FULL, ...).
lzh::Error WriteEntryFile(lzh::ArchiveReader* reader, const lzh::Header& header, const std::wstring& target,
                          DWORD attributes, const lzh::ProgressFn& progress, DWORD* win_error,
                          OverwriteChoice* existing = nullptr, bool* kept = nullptr);

// True for a Win32 error that means the disk is full.
inline bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

}  // namespace winfs
