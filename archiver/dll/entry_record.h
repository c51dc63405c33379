// Filling the entry record that UnlhaFindFirst/UnlhaFindNext return, and the
// packed MS-DOS time it needs.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "archiver/lzh/header.h"
#include "interface/unlha32.h"

namespace unlha {

// The record of the public interface, filled by the searches.
using EntryRecord = UNLHA_ENTRY_RECORD;
enum { kRecordNameMax = sizeof(EntryRecord::szFileName) - 1 };

// Fills `record` from a header as the reader delivers it.
void FillRecord(const lzh::Header& header, EntryRecord* record);

// The entry's time as packed local MS-DOS date (high) and time (low).
DWORD PackedDosTime(const lzh::Header& header);

// The stored path with '\' separators (directories end in '\'), as listed:
// a name CP932 cannot spell exactly shows the characters it lacks as
// "<U+XXXX>".
std::string DisplayName(const lzh::Header& header);

// The same path exactly, in UTF-16: the Unicode name where the archive
// stores one.
std::wstring ExactListedName(const lzh::Header& header);

// True for a directory entry whose path names no folder at all ("./", "/"):
// extraction skips it quietly and the search functions do not list it.
bool IsDestinationItself(const lzh::Header& header);

}  // namespace unlha
