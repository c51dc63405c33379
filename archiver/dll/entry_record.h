// The 560-byte entry record that UnlhaFindFirst/UnlhaFindNext fill, and the
// packed MS-DOS time helpers it needs.
#pragma once
#include <windows.h>

#include <cstddef>

#include "archiver/lzh/header.h"

namespace unlha {

enum { kRecordNameMax = 512 };

struct EntryRecord {
  DWORD original_size;             // @0
  DWORD compressed_size;           // @4
  DWORD crc;                       // @8  CRC-16 of the data
  UINT flags;                      // @12 0, or 1 for a directory entry
  UINT os_type;                    // @16 0 MS-DOS, 2 Unix, 1 other
  WORD ratio;                      // @20 per mille of compressed to original size
  WORD date;                       // @22 MS-DOS date word
  WORD time;                       // @24 MS-DOS time word
  char name[kRecordNameMax + 1];   // @26 stored name, '\' separators
  char reserved[3];
  char attributes[8];              // @542 e.g. "--a-", directory "d---"
  char method[8];                  // @550 e.g. "-lh5-"
};

static_assert(sizeof(EntryRecord) == 560, "entry record size");
static_assert(offsetof(EntryRecord, date) == 22, "date offset");
static_assert(offsetof(EntryRecord, time) == 24, "time offset");
static_assert(offsetof(EntryRecord, name) == 26, "name offset");

// Fills `record` from a header as the reader delivers it.
void FillRecord(const lzh::Header& header, EntryRecord* record);

// The entry's time as packed local MS-DOS date (high) and time (low).
DWORD PackedDosTime(const lzh::Header& header);

// The stored path with '\' separators (directories end in '\').
std::string DisplayName(const lzh::Header& header);

// True for a directory entry whose path names no folder at all ("./", "/"):
// extraction skips it quietly and the search functions do not list it.
bool IsDestinationItself(const lzh::Header& header);

}  // namespace unlha
