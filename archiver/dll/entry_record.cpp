#include "archiver/dll/entry_record.h"

#include <algorithm>
#include <cstring>

#include "archiver/win/entry_extract.h"
#include "archiver/win/entry_time.h"
#include "archiver/win/wide_text.h"
#include "archiver/lzh/safe_path.h"

namespace unlha {

namespace {

// The stored path in CP932 with '/' separators. An entry whose exact name
// CP932 cannot spell gets that name with each character CP932 lacks written
// "<U+XXXX>" instead of its best-fit look-alike ("caf<U+00E9>.txt", never
// "cafe.txt"), so that its listed name is its own and selects it alone.
std::string ListedPath(const lzh::Header& header) {
  if (header.unicode_name.empty() && header.unicode_dir.empty() && !header.utf8_path) return header.path;
  std::wstring exact = winfs::Widen(winfs::ExactName(header), CP_UTF8);
  bool spelled = false;
  std::string listed = winfs::Narrow(exact, winfs::kCp932, &spelled);
  if (spelled) return listed;
  listed.clear();
  for (size_t i = 0; i < exact.size();) {
    size_t length = IS_HIGH_SURROGATE(exact[i]) && i + 1 < exact.size() && IS_LOW_SURROGATE(exact[i + 1]) ? 2 : 1;
    std::string bytes = winfs::Narrow(exact.substr(i, length), winfs::kCp932, &spelled);
    if (spelled) {
      listed += bytes;
    } else {
      unsigned code = length == 2 ? 0x10000 + ((exact[i] - 0xD800u) << 10) + (exact[i + 1] - 0xDC00u) : exact[i];
      char text[16];
      wsprintfA(text, "<U+%04X>", code);
      listed += text;
    }
    i += length;
  }
  return listed;
}

}  // namespace

// "." components (jlha stores "./a.txt" for an archive made from ".") are
// left out, so such names read as the same entries without them; a name of
// nothing but "." components is shown as stored.
std::string DisplayName(const lzh::Header& header) {
  const std::string path = ListedPath(header);
  std::string name, component;
  bool first = true;
  for (size_t i = 0; i <= path.size(); ++i) {
    unsigned char c = i < path.size() ? (unsigned char)path[i] : '/';
    if (lzh::IsCp932LeadByte(c) && i + 1 < path.size()) {
      component += path[i];
      component += path[++i];
    } else if (c == '/') {
      if (component != ".") {
        name += (first ? "" : "\\") + component;
        first = false;
      }
      component.clear();
    } else {
      component += (char)c;
    }
  }
  if (!name.empty()) return name;
  for (char c : path) name += c == '/' ? '\\' : c;
  return name;
}

// "." components are left out as DisplayName leaves them out.
std::wstring ExactListedName(const lzh::Header& header) {
  std::wstring exact = winfs::Widen(winfs::ExactName(header), CP_UTF8), name, component;
  bool first = true;
  for (size_t i = 0; i <= exact.size(); ++i) {
    wchar_t c = i < exact.size() ? exact[i] : L'/';
    if (c != L'/') {
      component += c;
      continue;
    }
    if (component != L".") {
      name += (first ? L"" : L"\\") + component;
      first = false;
    }
    component.clear();
  }
  if (!name.empty()) return name;
  for (wchar_t& c : exact)
    if (c == L'/') c = L'\\';
  return exact;
}

bool IsDestinationItself(const lzh::Header& header) {
  std::vector<std::string> components;
  return header.IsDirectory() && lzh::SafeRelativePath(header.path, &components) == lzh::PathVerdict::kEmpty;
}

DWORD PackedDosTime(const lzh::Header& header) {
  FILETIME utc;
  if ((header.win_modify || header.has_unix_time) && winfs::EntryFileTime(header, &utc)) return winfs::DosTimeOf(utc);
  return header.dos_time;
}

void FillRecord(const lzh::Header& header, EntryRecord* record) {
  memset(record, 0, sizeof *record);
  // Sizes beyond 32 bits read as 0xFFFFFFFF, never as a small wrong number;
  // UnlhaGetOriginalSizeEx/UnlhaGetCompressedSizeEx give them whole.
  record->dwOriginalSize = (DWORD)std::min<uint64_t>(header.original_size, 0xFFFFFFFFu);
  record->dwCompressedSize = (DWORD)std::min<uint64_t>(header.compressed_size, 0xFFFFFFFFu);
  record->dwCrc = header.crc;
  record->uFlag = header.IsDirectory() ? 1 : 0;
  record->uOSType = header.os_id == lzh::kOsMsDos ? 0 : header.os_id == lzh::kOsUnix ? 2 : 1;
  if (header.original_size) {
    uint64_t ratio = header.compressed_size * 1000 / header.original_size;
    record->wRatio = (WORD)(ratio > 0xFFFF ? 0xFFFF : ratio);
  }
  DWORD packed = PackedDosTime(header);
  record->wDate = HIWORD(packed);
  record->wTime = LOWORD(packed);
  std::string name = DisplayName(header);
  if (header.IsDirectory() && !name.empty() && name.back() != '\\') name += '\\';
  // A name that does not fit is cut at a character boundary.
  size_t length = 0;
  while (length < name.size()) {
    size_t step = (lzh::IsCp932LeadByte((unsigned char)name[length]) && length + 1 < name.size()) ? 2 : 1;
    if (length + step > kRecordNameMax) break;
    length += step;
  }
  memcpy(record->szFileName, name.data(), length);
  uint8_t attributes = header.dos_attributes;
  char* a = record->szAttribute;
  a[0] = header.IsDirectory() || (attributes & lzh::kAttrDirectory) ? 'd' : '-';
  a[1] = attributes & lzh::kAttrReadOnly ? 'r' : '-';
  a[2] = attributes & lzh::kAttrHidden ? 'h' : '-';
  a[3] = attributes & lzh::kAttrSystem ? 's' : '-';
  a[4] = attributes & lzh::kAttrArchive ? 'a' : '-';
  memcpy(record->szMode, header.method, 5);
}

}  // namespace unlha
