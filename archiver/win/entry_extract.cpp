#include "archiver/win/entry_extract.h"

#include "archiver/win/entry_time.h"
#include "archiver/win/link_guard.h"
#include "archiver/win/wide_text.h"
#include "archiver/win/win_file.h"
#include "archiver/win/win_path.h"

namespace winfs {

bool Destination::Prepare(const std::wstring& folder, DWORD* error) {
  path_ = WithSeparator(FullPath(folder.empty() ? std::wstring(L".") : folder));
  bool existed = DirectoryExists(path_);
  if (!winfs::MakeFolders(path_, error)) return false;
  if (!existed) made_->Insert(path_.substr(0, path_.size() - 1));
  resolved_ = ResolvedPath(path_);
  return true;
}

namespace {

bool HasExactName(const lzh::Header& header) {
  return !header.unicode_name.empty() || !header.unicode_dir.empty() || header.utf8_path;
}

}  // namespace

std::string ExactName(const lzh::Header& header) {
  std::string path = header.path;
  bool folder = !path.empty() && path.back() == '/';
  if (folder) path.pop_back();
  // '/' is never the second byte of a CP932 character.
  size_t slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (folder) {
    dir += name + (name.empty() ? "" : "/");
    name.clear();
  }
  auto as_utf8 = [&](const std::string& bytes) {
    return header.utf8_path ? bytes : Narrow(Widen(bytes, kCp932), CP_UTF8);
  };
  std::string exact_dir = header.unicode_dir.empty() ? as_utf8(dir) : header.unicode_dir;
  std::string exact_name = header.unicode_name.empty() ? as_utf8(name) : header.unicode_name;
  return exact_dir + exact_name;
}

void DropSpellableUnicodeName(lzh::Header* header) {
  if (header->unicode_name.empty() && header->unicode_dir.empty()) return;
  bool exact = false;
  std::string spelled = Narrow(Widen(ExactName(*header), CP_UTF8), kCp932, &exact);
  std::string path = header->path;
  if (!path.empty() && path.back() == '/') path.pop_back();
  if (!spelled.empty() && spelled.back() == '/') spelled.pop_back();
  if (exact && spelled == path) {
    header->unicode_name.clear();
    header->unicode_dir.clear();
  }
}

lzh::PathVerdict EntryComponents(const lzh::Header& header, std::vector<std::wstring>* components) {
  components->clear();
  std::vector<std::string> parts;
  bool exact = HasExactName(header);
  lzh::PathVerdict verdict = exact ? lzh::SafeRelativePath(ExactName(header), &parts, lzh::NameEncoding::kUtf8)
                                   : lzh::SafeRelativePath(header.path, &parts);
  if (verdict != lzh::PathVerdict::kOk) return verdict;
  for (const std::string& part : parts) {
    std::wstring wide = Widen(part, exact ? CP_UTF8 : kCp932);
    if (wide.empty()) return lzh::PathVerdict::kBadChar;
    components->push_back(wide);
  }
  return verdict;
}

lzh::PathVerdict Destination::Target(const lzh::Header& header, bool keep_folders, std::wstring* target) const {
  std::vector<std::wstring> components;
  lzh::PathVerdict verdict = EntryComponents(header, &components);
  if (verdict != lzh::PathVerdict::kOk) return verdict;
  std::wstring relative;
  if (keep_folders) {
    for (const std::wstring& component : components) relative += (relative.empty() ? L"" : L"\\") + component;
  } else {
    relative = components.back();
  }
  *target = path_ + relative;
  // The components are safe already; what the system makes of the joined
  // path, and any link on the way, must still end up inside.
  std::wstring full = FullPath(*target);
  if (!IsInside(full, path_)) return lzh::PathVerdict::kParentDir;
  // Nothing here makes links, so each folder is looked at once; and a file
  // already in the entry's place (a link out, maybe) can only be in a
  // folder this extraction did not make.
  std::wstring folder = header.IsDirectory() ? full : ParentOf(full);
  if (!checked_.Contains(folder)) {
    if (!StaysBelow(folder, resolved_)) return lzh::PathVerdict::kParentDir;
    checked_.Insert(folder);
  }
  if (header.IsDirectory() || made_->Contains(folder)) return lzh::PathVerdict::kOk;
  if (GetFileAttributesW(full.c_str()) != INVALID_FILE_ATTRIBUTES && !StaysBelow(full, resolved_))
    return lzh::PathVerdict::kParentDir;
  return lzh::PathVerdict::kOk;
}

lzh::DiskObject Destination::Probe::operator()(const std::wstring& path) const {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return lzh::DiskObject::kNothing;
  // A link to a folder is followed: where it leads is checked by Target.
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? lzh::DiskObject::kFolder : lzh::DiskObject::kOther;
}

bool Destination::Make::operator()(const std::wstring& path) const {
  if (CreateDirectoryW(path.c_str(), nullptr)) {
    made->Insert(path);
    return true;
  }
  *error = GetLastError();
  return false;
}

bool Destination::MakeFolders(const std::wstring& folder, DWORD* error) {
  if (error) *error = 0;
  size_t base = path_.size() - 1;  // path_ without its separator
  bool below = folder.size() >= base && folder.compare(0, base, path_, 0, base) == 0 &&
               (folder.size() == base || folder[base] == L'\\' || folder[base] == L'/');
  if (!below) return winfs::MakeFolders(folder, error);  // nothing to remember
  std::wstring relative = folder.substr(base);
  std::vector<std::wstring> components;
  for (size_t start = 0; start < relative.size();) {
    size_t end = relative.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = relative.size();
    if (end > start) components.push_back(relative.substr(start, end - start));
    start = end + 1;
  }
  if (!folders_)
    folders_.reset(new lzh::FolderMemo<std::wstring, Probe, Make>(path_.substr(0, path_.size() - 1), L'\\',
                                                                   Probe(), Make{make_error_.get(), made_.get()}));
  switch (folders_->Ensure(components, components.size())) {
    case lzh::FolderResult::kOk: return true;
    case lzh::FolderResult::kCannotMake:
      if (error) *error = *make_error_ ? *make_error_ : ERROR_PATH_NOT_FOUND;
      return false;
    default:
      if (error) *error = ERROR_ALREADY_EXISTS;
      return false;
  }
}

lzh::Error WriteEntryFile(lzh::ArchiveReader* reader, const lzh::Header& header, const std::wstring& target,
                          DWORD attributes, const lzh::ProgressFn& progress, DWORD* win_error,
                          OverwriteChoice* existing, bool* kept) {
  *win_error = 0;
  if (kept) *kept = false;
  // Read-only comes last: a read-only file could not be deleted on failure.
  DWORD create_attributes = attributes & ~FILE_ATTRIBUTE_READONLY;
  // A free name is written in place: there is nothing there to protect, and
  // the create that finds it free is the only look-up the file costs.
  std::unique_ptr<FileSink> sink = FileSink::CreateNew(target, create_attributes);
  bool in_place = sink != nullptr;
  std::wstring work;
  if (!in_place) {
    *win_error = GetLastError();
    // A folder of that name stays, and so does whatever the system refused.
    bool folder = DirectoryExists(target);
    if (folder || (*win_error != ERROR_FILE_EXISTS && *win_error != ERROR_ALREADY_EXISTS)) {
      if (folder) *win_error = ERROR_ALREADY_EXISTS;
      return lzh::Error::kWriteError;
    }
    *win_error = 0;
    switch (existing ? existing->Decide(target, header) : OverwriteAnswer::kYes) {
      case OverwriteAnswer::kCancel: return lzh::Error::kCancelled;
      case OverwriteAnswer::kNo:
        if (kept) *kept = true;
        return lzh::Error::kOk;
      default: break;
    }
    // An existing file is replaced only by a whole new one.
    sink = FileSink::CreateWork(ParentOf(target), create_attributes, &work);
  }
  if (!sink) {
    *win_error = GetLastError() ? GetLastError() : ERROR_CANNOT_MAKE;
    return lzh::Error::kWriteError;
  }
  // What is left of a failure: the new file, or the work file.
  auto discard = [&] { DeleteFileW(in_place ? target.c_str() : work.c_str()); };
  lzh::Error error = reader->Extract(header, sink.get(), progress);
  if (error == lzh::Error::kOk && sink->Flush()) SetEntryTimes(sink->handle(), header);
  bool closed = sink->Close();
  // After Close: its last flush may be the write that failed.
  *win_error = sink->LastError();
  if (error == lzh::Error::kOk && !closed) {
    error = lzh::Error::kWriteError;
    if (!*win_error) *win_error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
  }
  if (error == lzh::Error::kWriteError && !*win_error) *win_error = ERROR_WRITE_FAULT;
  if (error != lzh::Error::kOk) {
    discard();
    return error;
  }
  if (!in_place && !ReplaceWith(work, target, win_error)) return lzh::Error::kWriteError;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(target.c_str(), attributes);
  return lzh::Error::kOk;
}

}  // namespace winfs
