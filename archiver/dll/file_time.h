// Conversions between the time stamps an entry header carries and Win32
// FILETIMEs (UTC) and packed MS-DOS times (local).
#pragma once
#include <windows.h>

#include <cstdint>

#include "archiver/lzh/header.h"

namespace unlha {

// The entry's modification time as a UTC FILETIME: the Windows time when the
// header has one, else the Unix time, else the MS-DOS time (local).
FILETIME EntryFileTime(const lzh::Header& header);

// Packed local MS-DOS date (high word) and time (low word) of a UTC FILETIME.
uint32_t DosTimeOf(const FILETIME& utc);
int64_t UnixTimeOf(const FILETIME& utc);
uint64_t FileTimeValue(const FILETIME& time);

}  // namespace unlha
