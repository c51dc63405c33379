// One entry's stored facts, as the library's listing functions give them.
#pragma once

#include <string>

#include "engine/arcfile_item.h"
#include "framework/cstring.h"

struct CEntryProperties {
    CEntryProperties() : nHeaderLevel(-1), nOSId(-1), dwCrc(0) {}

    CArcfileItem item;         // name, folder, whole sizes and time as the listing fills them
    std::wstring strExactName; // the exact path in UTF-16; empty when the library cannot say
    CString strMethod;         // "-lh5-"
    int nHeaderLevel;          // 0-3; -1 when the library cannot say
    int nOSId;                 // the header's system id byte; -1 when the library cannot say
    DWORD dwCrc;               // CRC-16 of the data
    CString strAttributes;     // "--r-a" style, as the library spells them
};

// The name of the system an LZH header's id byte stands for ("MS-DOS",
// "UNIX"...), or the id itself for one this program does not know.
CString OSNameOf(int nOSId);

// "2024/03/01 12:34:56": the entry's time with the year in full.
CString FullDateTimeText(const CArcfileItem& item);
