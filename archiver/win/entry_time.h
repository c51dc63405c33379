// Conversions between the time stamps an entry header carries and Win32
// FILETIMEs (UTC) and packed MS-DOS times (local), and setting them on disk.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "archiver/lzh/header.h"

namespace winfs {

// The entry's modification time as a UTC FILETIME: the Windows time when the
// header has one, else the Unix time, else the MS-DOS time (local). False
// when the header carries none that Windows can hold.
bool EntryFileTime(const lzh::Header& header, FILETIME* utc);

// Sets the entry's times on an open handle (write access, or
// FILE_FLAG_BACKUP_SEMANTICS for folders). False when the entry has none.
bool SetEntryTimes(HANDLE file, const lzh::Header& header);
// Sets the entry's times on the folder at `path`.
void SetFolderTimes(const std::wstring& path, const lzh::Header& header);

// Packed local MS-DOS date (high word) and time (low word) of a UTC FILETIME.
uint32_t DosTimeOf(const FILETIME& utc);
int64_t UnixTimeOf(const FILETIME& utc);
uint64_t FileTimeValue(const FILETIME& time);

}  // namespace winfs
