// The library's entry points (exported by name through unlha32.def).
#include <windows.h>

#include <cstring>
#include <memory>

#include "archiver/dll/archive_access.h"
#include "archiver/dll/commands.h"
#include "archiver/dll/entry_record.h"
#include "archiver/dll/entry_selection.h"
#include "archiver/dll/resource.h"
#include "archiver/dll/running.h"
#include "archiver/dll/version.h"
#include "archiver/win/entry_time.h"
#include "archiver/win/wide_text.h"
#include "interface/unlha32.h"

namespace unlha {

namespace {

HINSTANCE g_instance = nullptr;

// What UnlhaOpenArchive hands out: every header read at open, and where the
// search stands.
struct SearchHandle {
  std::vector<lzh::Header> entries;
  std::vector<std::string> patterns;
  size_t next = 0;
  const lzh::Header* found = nullptr;  // the entry the last search delivered
};

std::string HelpText() {
  std::string text;
  for (UINT id = IDS_HELP; id <= IDS_HELP_LAST; ++id) {
    std::string line = LoadText(id);
    if (!line.empty()) text += line + "\r\n";
  }
  return text;
}

void Dispatch(Job& job) {
  switch (job.command.name) {
    case 'l': RunList(job); break;
    case 'x':
    case 'e': RunExtract(job); break;
    case 'u':
    case 'm': RunUpdate(job); break;
    case 'd': RunDelete(job); break;
    case 'n': RunRename(job); break;
    case 's': RunMakeSfx(job); break;
    case 't': RunTest(job); break;
  }
}

int FindFrom(SearchHandle* search, EntryRecord* record) {
  std::vector<bool> chosen;
  std::vector<std::string> unmatched;
  while (search->next < search->entries.size()) {
    const lzh::Header& header = search->entries[search->next++];
    if (IsDestinationItself(header)) continue;
    bool all = search->patterns.empty();
    if (!all) {
      std::vector<lzh::Header> one(1, header);
      SelectEntries(search->patterns, one, false, &chosen, &unmatched);
      if (!chosen[0]) continue;
    }
    FillRecord(header, record);
    search->found = &header;
    return 0;
  }
  search->found = nullptr;
  return -1;
}

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }

}  // namespace unlha

using namespace unlha;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_instance = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

WORD WINAPI UnlhaGetVersion() { return kVersion; }

BOOL WINAPI UnlhaGetRunning() { return IsRunning() ? 1 : 0; }

BOOL WINAPI UnlhaSetCursorMode(BOOL) { return TRUE; }

int WINAPI Unlha(HWND owner, LPCSTR line, LPSTR output, DWORD size) {
  if (output && size) output[0] = 0;
  Output out(output, size);
  std::string text = line ? line : "";
  Command command;
  if (text.find_first_not_of(" \t") == std::string::npos || text == "?" || text == "-?") {
    out.Append(HelpText());
    out.Flush();
    return 0;
  }
  RunningScope running;
  Report report(owner);
  if (!running.Acquired()) {
    report.Fail(kErrAlreadyRunning, IDS_RUNNING);
    return report.Finish();
  }
  if (!ParseCommand(text, DiskProbe(), &command)) {
    report.Fail(kErrCommandName, IDS_BAD_COMMAND, text);
    return report.Finish();
  }
  Settings settings = LoadSettings();
  // -n keeps the window away from a quick command only: a long one still
  // shows it, with Cancel.
  bool windowed = settings.show_progress && command.name != 'l' && command.name != 'n';
  int result;
  {
    Progress progress(owner, windowed, command.quiet);
    Job job{owner, command, settings, report, progress, out};
    Dispatch(job);
    progress.Close();
    out.Flush();
    result = report.Finish();
  }
  return result;
}

BOOL WINAPI UnlhaCheckArchive(LPCSTR path, int mode) {
  if (!path) return FALSE;
  // The quick check needs the first header only: an archive is one whose
  // first entry reads, or an empty one.
  if ((mode & 3) != 2) {
    std::unique_ptr<winfs::FileSource> source = winfs::FileSource::Open(winfs::Widen(path));
    if (!source) return FALSE;
    lzh::ArchiveReader reader(source.get());
    lzh::Header first;
    lzh::Error error = reader.Open();
    if (error == lzh::Error::kOk) error = reader.Next(&first);
    // A whole first header over data cut short is a damaged archive, which
    // opens with what it holds.
    return error == lzh::Error::kOk || error == lzh::Error::kEndOfArchive ||
           (error == lzh::Error::kTruncated && reader.data_cut());
  }
  LoadedArchive archive;
  if (!LoadArchive(winfs::Widen(path), &archive, nullptr)) return FALSE;
  // Mode 2 asks for a full test of every entry's data.
  if (!archive.Complete()) return FALSE;
  for (const lzh::Header& header : archive.entries)
    if (!header.IsDirectory() && archive.reader->Extract(header, nullptr) != lzh::Error::kOk) return FALSE;
  return TRUE;
}

HARC WINAPI UnlhaOpenArchive(HWND owner, LPCSTR path, DWORD mode) {
  if (!path) return nullptr;
  LoadedArchive archive;
  if (!LoadArchive(winfs::Widen(path), &archive, nullptr)) return nullptr;
  // A damaged or cut-off archive lists the entries before the damage; the
  // user is told that there is more that cannot be read.
  if (!archive.Complete() && !(mode & UNLHA_OPEN_NO_DAMAGE_BOX)) {
    Report report(owner);
    ReportDamage(archive, path, &report);
    report.Finish();
  }
  SearchHandle* search = new SearchHandle;
  search->entries = std::move(archive.entries);
  return (HANDLE)search;
}

int WINAPI UnlhaFindFirst(HARC handle, LPCSTR wildcard, UNLHA_ENTRY_RECORD* record) {
  SearchHandle* search = (SearchHandle*)handle;
  if (!search || !record) return -1;
  search->next = 0;
  search->patterns.clear();
  std::string text = wildcard ? wildcard : "";
  for (const Token& token : Tokenize(text)) {
    if (token.text == "*.*" || token.text == "*") {
      search->patterns.clear();
      break;
    }
    search->patterns.push_back(token.text);
  }
  return FindFrom(search, record);
}

int WINAPI UnlhaFindNext(HARC handle, UNLHA_ENTRY_RECORD* record) {
  SearchHandle* search = (SearchHandle*)handle;
  if (!search || !record) return -1;
  return FindFrom(search, record);
}

// Sizes of the entry the last search delivered, whole: the record's 32-bit
// fields hold 0xFFFFFFFF for anything larger.
BOOL WINAPI UnlhaGetOriginalSizeEx(HARC handle, ULONGLONG* size) {
  SearchHandle* search = (SearchHandle*)handle;
  if (!search || !search->found || !size) return FALSE;
  *size = search->found->original_size;
  return TRUE;
}

BOOL WINAPI UnlhaGetCompressedSizeEx(HARC handle, ULONGLONG* size) {
  SearchHandle* search = (SearchHandle*)handle;
  if (!search || !search->found || !size) return FALSE;
  *size = search->found->compressed_size;
  return TRUE;
}

BOOL WINAPI UnlhaGetWriteTimeEx(HARC handle, FILETIME* last_write) {
  SearchHandle* search = (SearchHandle*)handle;
  if (!search || !search->found || !last_write) return FALSE;
  return winfs::EntryFileTime(*search->found, last_write) ? TRUE : FALSE;
}

int WINAPI UnlhaGetHeaderLevel(HARC handle) {
  SearchHandle* search = (SearchHandle*)handle;
  return search && search->found ? search->found->level : -1;
}

int WINAPI UnlhaGetOSId(HARC handle) {
  SearchHandle* search = (SearchHandle*)handle;
  return search && search->found ? search->found->os_id : -1;
}

int WINAPI UnlhaGetExactName(HARC handle, LPWSTR name, DWORD size) {
  SearchHandle* search = (SearchHandle*)handle;
  if (!search || !search->found) return 0;
  std::wstring exact = ExactListedName(*search->found);
  if (name && exact.size() < size) memcpy(name, exact.c_str(), (exact.size() + 1) * sizeof(wchar_t));
  return (int)exact.size();
}

int WINAPI UnlhaCloseArchive(HARC handle) {
  delete (SearchHandle*)handle;
  return 0;
}

BOOL WINAPI UnlhaConfigDialog(HWND owner, LPSTR, int) {
  return ShowConfigDialog(owner) ? TRUE : FALSE;
}

}  // extern "C"
