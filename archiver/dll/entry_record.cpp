#include "archiver/dll/entry_record.h"

#include <cstring>

#include "archiver/dll/file_time.h"
#include "archiver/lzh/safe_path.h"

namespace unlha {

std::string DisplayName(const lzh::Header& header) {
  std::string name = header.path;
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = (unsigned char)name[i];
    if (lzh::IsCp932LeadByte(c) && i + 1 < name.size()) {
      ++i;
    } else if (c == '/') {
      name[i] = '\\';
    }
  }
  return name;
}

DWORD PackedDosTime(const lzh::Header& header) {
  if (header.win_modify || header.has_unix_time) return DosTimeOf(EntryFileTime(header));
  return header.dos_time;
}

void FillRecord(const lzh::Header& header, EntryRecord* record) {
  memset(record, 0, sizeof *record);
  record->original_size = (DWORD)header.original_size;
  record->compressed_size = (DWORD)header.compressed_size;
  record->crc = header.crc;
  record->flags = header.IsDirectory() ? 1 : 0;
  record->os_type = header.os_id == lzh::kOsMsDos ? 0 : header.os_id == lzh::kOsUnix ? 2 : 1;
  if (header.original_size) {
    uint64_t ratio = header.compressed_size * 1000 / header.original_size;
    record->ratio = (WORD)(ratio > 0xFFFF ? 0xFFFF : ratio);
  }
  DWORD packed = PackedDosTime(header);
  record->date = HIWORD(packed);
  record->time = LOWORD(packed);
  std::string name = DisplayName(header);
  if (header.IsDirectory() && !name.empty() && name.back() != '\\') name += '\\';
  // A name that does not fit is cut at a character boundary.
  size_t length = 0;
  while (length < name.size()) {
    size_t step = (lzh::IsCp932LeadByte((unsigned char)name[length]) && length + 1 < name.size()) ? 2 : 1;
    if (length + step > kRecordNameMax) break;
    length += step;
  }
  memcpy(record->name, name.data(), length);
  uint8_t attributes = header.dos_attributes;
  char* a = record->attributes;
  a[0] = header.IsDirectory() || (attributes & lzh::kAttrDirectory) ? 'd' : '-';
  a[1] = attributes & lzh::kAttrReadOnly ? 'r' : '-';
  a[2] = attributes & lzh::kAttrHidden ? 'h' : '-';
  a[3] = attributes & lzh::kAttrSystem ? 's' : '-';
  a[4] = attributes & lzh::kAttrArchive ? 'a' : '-';
  memcpy(record->method, header.method, 5);
}

}  // namespace unlha
